// Nothing a game depends on is missing from its replay: random runs of the
// program, each several games long with titles of random length, options set
// in the Option dialog, dives, pauses, the switches, the table's dialogs and
// names typed, are recorded as the game records them; each game then replays
// alone, from its replay's text, to the same trace lines and the same frames
// it had inside its run. RUVO_REPLAY_RUNS and RUVO_REPLAY_SEED make a longer
// or another run (the soak's).
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "game/drawing.h"
#include "game/flow.h"
#include "game/fonts.h"
#include "game/graphics.h"
#include "game/surfaces.h"
#include "game/window.h"
#include "replay/replay_keep.h"
#include "replay/replay_play.h"
#include "sim/headless_game.h"
#include "sim/trace.h"
#include "support/frame_hash.h"
#include "support/game_fixture.h"
#include "support/game_run.h"

namespace ruvo {
namespace {

// The same draws on every platform, unlike the standard distributions.
class Draws {
  public:
    explicit Draws(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint32_t Below(std::uint32_t n)
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>((state_ >> 11) % n);
    }
    bool OneIn(std::uint32_t n) { return Below(n) == 0; }

  private:
    std::uint64_t state_;
};

// A game's replay, and its trace line and frame's hash at each tick.
struct PlayedGame {
    std::string replay;
    std::vector<std::string> ticks;
};

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

const char* const kNames[] = {"",
                              "A",
                              "Ruvo fan",
                              "  spaced  ",
                              "名前",
                              "Ünïcödé Plåyer",
                              "a name far longer than the thirty-one bytes a row keeps"};

// The Option dialog answered with options that make short games which still
// reach the bosses, their defeat, the hurry-up and round 0's theme.
void SetOptions(HeadlessGame& game, Draws& draws)
{
    game.dialogs.optionAnswer = std::vector<std::string>{
        std::to_string(draws.Below(13)),      std::to_string(draws.Below(70)),       std::to_string(draws.Below(3)),
        std::to_string(draws.Below(80)),      std::to_string(10 + draws.Below(100)), std::to_string(draws.Below(150)),
        std::to_string(10 + draws.Below(60)), std::to_string(draws.Below(2))};
    game.Command(IDM_OPTION);
}

// Now and then, whatever the state: the switches, the table, the About box.
void Aside(HeadlessGame& game, Draws& draws)
{
    for (const auto& [chance, item] :
         {std::pair{150u, IDM_SOUND}, {150u, IDM_MUSIC}, {400u, IDM_HIGHSCORE}, {600u, IDM_ABOUT}})
        if (draws.OneIn(chance))
            game.Command(item);
}

// The game replayed alone, on a machine of its own, tick by tick against
// what it did in its run: "" when they agree throughout, else where they part.
std::string Differs(const PlayedGame& played)
{
    const Replay replay = testing::Read(played.replay);
    // A machine of its own, where the replay is heard and drawn as the
    // window's game would be: its own switches, sounds, music and drawing.
    testing::Machine machine;
    EmbeddedResources resources;
    testing::LoadArt(machine, resources);
    GameRecord& shell = machine.record;
    CreateSurfaces(shell);
    shell.soundOn = replay.start.soundOn;
    shell.musicOn = replay.start.musicOn;
    ReplayPlay play;
    BeginReplayPlay(play, replay);
    const auto show = [&] {
        DrawGame(shell.drawing, play.game);
        ServeRequests(shell, play.game);
    };
    show();
    sim::PlayedSince since;
    bool going = true;
    std::size_t k = 0;
    for (; going && k < played.ticks.size(); ++k) {
        going = StepReplayPlay(play, &shell);
        show();
        const std::string line = sim::TraceLine(k + 1, play.game, shell.soundOn, shell.musicOn,
                                                since.Effects(machine.wave, shell), since.Music(machine.music)) +
                                 " frame=" + std::to_string(testing::FrameHash(*shell.drawing.frameBitmap));
        if (line != played.ticks[k])
            return "differs at its tick " + std::to_string(k + 1) + ":\n  played  " + played.ticks[k] + "\n  replay  " +
                   line;
    }
    if (going || k != played.ticks.size())
        return std::string("the replay ") + (going ? "goes on" : "ends") + " after " + std::to_string(k) +
               " ticks, the game had " + std::to_string(played.ticks.size());
    return "";
}

// One run: a program started on a random table and switches, playing games
// until one runs too long or enough have been played; then each game replays
// alone beside the program (whose icons the status line draws), on a record
// of its own. Returns the games' ticks, or -1 when one differs.
long PlayRun(std::uint64_t seed, std::size_t& games)
{
    Draws draws(seed);
    testing::SettingsValues values{
        {"Option", "1"}, {"Sound", std::to_string(draws.Below(3))}, {"Music", std::to_string(draws.Below(2))}};
    std::uint32_t score = 2000;
    for (int row = 1; row <= 5; ++row)
        values["Score" + std::to_string(row)] = std::to_string(score -= draws.Below(500));
    testing::StartedRun run(values);
    HeadlessGame& game = run.game;
    GameRecord& record = game.Record();
    // A second drawing of the same art, which draws the game whole now and
    // then: it must come to the frame the window's drawing has come to step
    // by step, whatever the state (a pause, a wipe, a banner).
    Drawing whole;
    CreateFonts(whole, &run.text);
    LoadSprites(whole, &run.resources);
    CreateSurfaces(whole, kFieldWidth, kFieldHeight);

    std::vector<PlayedGame> played;
    const std::uint32_t diveChance = 2 + draws.Below(20);
    for (int n = 1 + static_cast<int>(draws.Below(3)); n > 0 && record.game.state == StateTitle; --n) {
        for (std::uint32_t title = draws.Below(40); title > 0; --title) {
            if (draws.OneIn(40))
                SetOptions(game, draws);
            Aside(game, draws);
            if (draws.OneIn(20))
                game.Click(); // nothing, on the title
            game.Tick();
        }
        if (draws.OneIn(2))
            SetOptions(game, draws);
        // Before each tick, now and then, the game drawn whole as the last
        // one left it; then what the player does.
        bool drawnAlike = true;
        const auto each = [&](int k) {
            if (k % 13 == 0 && drawnAlike) {
                ForgetDrawn(whole);
                DrawGame(whole, record.game);
                drawnAlike = testing::FrameHash(*whole.frameBitmap) == testing::FrameHash(*record.drawing.frameBitmap);
                EXPECT_TRUE(drawnAlike) << "run " << seed << ": drawn whole, the frame differs after tick " << k - 1;
            }
            if (draws.OneIn(diveChance))
                game.Click();
            if (draws.OneIn(record.game.paused != 0 ? 6 : 300))
                game.Command(IDM_PAUSE);
            Aside(game, draws);
            if (draws.OneIn(100))
                game.dialogs.nextName = kNames[draws.Below(std::size(kNames))];
        };
        // The name last drawn stays until a dialog takes it; 4000 ticks at most.
        PlayedGame current{"", run.Play(0, game.dialogs.nextName, {}, each, 4000)};
        if (!drawnAlike)
            return -1;
        // A game that runs too long ends the run; it has no replay yet.
        if (record.game.state == StateTitle && game.replays.Read(kLastGameReplay, current.replay))
            played.push_back(std::move(current));
        game.replays.replays.clear();
    }
    long ticks = 0;
    for (std::size_t i = 0; i < played.size(); ++i) {
        const std::string differs = Differs(played[i]);
        EXPECT_EQ(differs, "") << "run " << seed << " game " << i + 1 << "\n" << played[i].replay;
        if (!differs.empty())
            return -1;
        ticks += static_cast<long>(played[i].ticks.size());
    }
    games += played.size();
    return ticks;
}

TEST(ReplayProperty, EveryGameOfARandomRunReplaysAloneToTheSameTraceAndFrames)
{
    const std::uint64_t runs = EnvNumber("RUVO_REPLAY_RUNS", 200);
    const std::uint64_t first = EnvNumber("RUVO_REPLAY_SEED", 1);
    std::size_t games = 0;
    long ticks = 0;
    for (std::uint64_t seed = first; seed < first + runs; ++seed) {
        const long run = PlayRun(seed, games);
        ASSERT_GE(run, 0) << "run " << seed;
        ticks += run;
    }
    std::printf("%llu runs, %zu games, %ld ticks replayed\n", static_cast<unsigned long long>(runs), games, ticks);
    EXPECT_GT(games, runs);
}

} // namespace
} // namespace ruvo
