// A game on the in-memory machine with the built-in art, started the way the
// program starts it but without the window procedure, for the tests of the
// game's routines: each step is followed, as the shell follows it, by the
// game's picture drawn and its requests served.
// SPDX-License-Identifier: MIT
#pragma once

#include "audio/audio.h"
#include "game/drawing.h"
#include "game/flow.h"
#include "game/fonts.h"
#include "game/graphics.h"
#include "game/surfaces.h"
#include "game/title.h"
#include "game/window.h"
#include "resources/embedded.h"
#include "settings/defaults.h"
#include "settings/highscore.h"
#include "support/record_fixture.h"

namespace ruvo::testing {

// Fonts, art, sounds and music loaded into a machine's record, as the
// program loads them, for a play field of the game's size.
inline void LoadArt(Machine& machine, const EmbeddedResources& resources)
{
    GameRecord& record = machine.record;
    record.hInstance = &resources;
    record.hwndMain = &machine.window;
    record.game.fieldWidth = kFieldWidth;
    record.game.fieldHeight = kFieldHeight;
    CreateFonts(record.drawing, &machine.text);
    LoadGraphics(record);
    OpenMusic(record);
    LoadMusic(record);
}

class GameFixture : public RecordFixture {
  protected:
    Game& G() { return record.game; }
    // Up to the title: fonts, art and sounds, music, the defaults and saved
    // settings, surfaces and grid, and the timer.
    void Start()
    {
        LoadArt(*this, resources);
        InitDefaults(record);
        CreateSurfaces(record);
        InitTitle(record.game);
        Show();
        record.timerId = window.SetTimer(1, record.game.tickInterval);
    }
    // The picture drawn, the requests served.
    void Show()
    {
        DrawGame(record.drawing, record.game);
        ServeRequests(record, record.game);
    }
    // Started and past the start banner (what the Start command does on the
    // title: a new game under its banner): a round in play.
    void Play()
    {
        Start();
        StartGame(record.game);
        Show();
        Ticks(20);
    }
    // Ticks as the window runs them, a game over's check of the table among them.
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            if (GameTick(record.game) == TickEnd::GameOver) {
                Show();
                CheckHighScore(record);
                InitTitle(record.game);
            }
            Show();
        }
    }
    const Surface& Frame() const { return *record.drawing.frameBitmap; }

    EmbeddedResources resources;
};

} // namespace ruvo::testing
