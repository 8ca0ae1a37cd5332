// A fresh game on the in-memory machine, started as the program starts it,
// with the built-in art, for tests that play through the engine.
#pragma once

#include <gtest/gtest.h>

#include "headless/headless_game.h"
#include "resources/embedded.h"
#include "support/fixed_text.h"

namespace ruvo::testing {

class GameFixture : public ::testing::Test {
  protected:
    void Start() { game.Start(); }
    // Started and past the start banner: a round in play.
    void Play()
    {
        Start();
        game.Command(IDM_START);
        Ticks(20);
    }
    GameRecord& R() { return game.Record(); }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            game.Tick();
    }

    FixedText text;
    EmbeddedResources resources;
    HeadlessGame game{&text, &resources};
};

} // namespace ruvo::testing
