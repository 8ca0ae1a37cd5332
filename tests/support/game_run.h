// A program on the in-memory machine, with the fixed text renderer and the
// built-in art, for the tests of ruvo-sim's program: started as main starts
// it, ticked as the window ticks it, whole games played in it with a trace
// line and a frame's hash a tick, and the replays it keeps; and the short
// games the replay tests record, and their replays read back.
// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "replay/replay_keep.h"
#include "resources/embedded.h"
#include "sim/headless_game.h"
#include "sim/trace.h"
#include "support/fixed_text.h"
#include "support/frame_hash.h"

namespace ruvo::testing {

using SettingsValues = std::map<std::string, std::string, std::less<>>;

// A table that a few points beat.
inline const SettingsValues kLowTable = {
    {"Score1", "300"}, {"Score2", "200"}, {"Score3", "100"}, {"Score4", "50"}, {"Score5", "0"}};

class GameRun {
  public:
    explicit GameRun(SettingsValues values = {}) { game.settings.values = std::move(values); }
    GameRecord& R() { return game.Record(); }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            game.Tick();
    }
    // A game from its start (the Start command unless another is given) to
    // its end or its longest, a dive every few ticks (none for 0), the name
    // typed at the end; its trace lines and frames. Each, when given, is
    // called before every tick with its number.
    std::vector<std::string> Play(int diveEvery, const std::string& name = "Ann",
                                  const std::function<void()>& start = {}, const std::function<void(int)>& each = {},
                                  int longest = 99999)
    {
        sim::PlayedSince played;
        played.Effects(game.wave, R());
        played.Music(game.music);
        if (start)
            start();
        else
            game.Command(IDM_START);
        game.dialogs.nextName = name;
        std::vector<std::string> seen;
        for (int k = 1; (R().game.state & StateTitle) == 0 && k <= longest; ++k) {
            if (diveEvery != 0 && k % diveEvery == 0)
                game.Click();
            if (each)
                each(k);
            game.Tick();
            seen.push_back(sim::TraceLine(static_cast<std::uint64_t>(k), R(), played.Effects(game.wave, R()),
                                          played.Music(game.music)) +
                           " frame=" + std::to_string(FrameHash(*R().drawing.frameBitmap)));
        }
        return seen;
    }
    std::string Kept(std::string_view name)
    {
        std::string kept;
        game.replays.Read(name, kept);
        return kept;
    }

    FixedText text;
    EmbeddedResources resources;
    HeadlessGame game{&text, &resources};
};

// A program started on its title.
struct StartedRun : GameRun {
    explicit StartedRun(SettingsValues values = {}) : GameRun(std::move(values)) { game.Start(); }
};

// A short game's replay: the table above, one life to spare, short rounds
// and an early hurry-up, a dive every few ticks, the name typed at the end.
inline std::string RecordedGame(int diveEvery, const std::string& name = "Ann")
{
    StartedRun run(kLowTable);
    run.R().game.optDamage = 1;
    run.R().game.optDistance = 40;
    run.R().game.optHarryLevel = 90;
    run.Play(diveEvery, name);
    return run.Kept(kLastGameReplay);
}

// A replay's text read back, which must be one.
inline Replay Read(std::string_view text)
{
    std::string error;
    std::optional<Replay> replay = ReadReplay(text, error);
    EXPECT_TRUE(replay) << error;
    return replay.value_or(Replay{});
}

} // namespace ruvo::testing
