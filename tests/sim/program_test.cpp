// The program on the in-memory machine, started as main starts it: what the
// shell does with the menu's commands, and the record a first run starts
// with (two programs over one settings store are tested on the real file, in
// tests/platform/desktop); and whole games, traced and photographed tick by
// tick, against the hashes they gave when they were recorded: a change
// anywhere in the engine that alters a trace line or a pixel of a frame shows
// here. Letters come from the fixed test renderer, so the hashes do not
// depend on the machine's fonts.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/flow.h"
#include "game/window.h"
#include "settings/dialog_logic.h"
#include "settings/options.h"
#include "sim/headless_game.h"
#include "sim/trace.h"
#include "support/game_run.h"

namespace ruvo {
namespace {

class Program : public ::testing::Test, public testing::StartedRun {};

// The defaults that the recorded games set themselves, the window's size,
// the Replays item where the edition keeps replays; Start greyed outside the
// title, and Pause on it; then the window closed during the name dialog.
TEST_F(Program, StartsOnTheTitleWithEveryDefaultStartAndPauseApplyAndACloseKeepsTheNamedEntry)
{
    GameRecord& r = R();
    EXPECT_EQ(r.game.state, StateTitle);
    // Round, Game Level, Boss Level, Distance, Speed, Harry Level, Harry Speed, Damage.
    EXPECT_EQ(FillOptionEdits(r), (std::array<std::string, 8>{"1", "60", "10", "300", "80", "600", "50", "4"}));
    EXPECT_EQ(r.optionEnabled, 0);
    // 3 x 3 frame, 18 caption, 19 menu: a 390 x 243 window around 384 x 200.
    EXPECT_EQ(std::pair(r.windowWidth, r.windowHeight), std::pair(390, 243));
    EXPECT_TRUE(game.Window().IsEnabled(IDM_REPLAYS));
    r.host.replays = nullptr;
    UpdateMenu(r);
    EXPECT_FALSE(game.Window().IsEnabled(IDM_REPLAYS));
    game.Command(IDM_PAUSE);
    EXPECT_EQ(R().game.state, StateTitle);
    game.Command(IDM_START);
    const int invalidations = game.Window().invalidations;
    Ticks(19);
    EXPECT_EQ(game.Window().invalidations, invalidations); // the banner frame stays as it is
    Ticks(1);
    const std::uint32_t round = R().game.round;
    game.Command(IDM_START); // greyed: nothing happens
    EXPECT_EQ(R().game.state, StatePlay);
    EXPECT_EQ(R().game.round, round);
    game.Command(IDM_PAUSE);
    EXPECT_EQ(R().game.state, StatePause);
    EXPECT_EQ(R().game.paused, 1);
    const std::uint32_t score = R().game.score;
    Ticks(5);
    EXPECT_EQ(R().game.score, score);
    EXPECT_EQ(text.drawn.back(), "PAUSE");
    game.Command(IDM_PAUSE);
    EXPECT_EQ(R().game.state, StatePlay);
    EXPECT_EQ(R().game.paused, 0);
    Ticks(1);
    EXPECT_EQ(R().game.score, score + 1);

    // The window closes (or the session ends) while a new high score waits for
    // its name: the entry goes in with the name as typed, in the close's one
    // save, and no table dialog follows the closed window.
    R().game.score = 4321;
    R().game.round = 3;
    R().game.state = kGameOverBannerWord;
    R().game.bannerTicks = 1;
    game.dialogs.nextName = "Half";
    int savesBefore = 0;
    game.dialogs.whileInputOpen = [&] {
        savesBefore = game.settings.saves;
        game.Send({MessageKind::Close});
    };
    game.Tick();
    EXPECT_TRUE(game.Window().destroyed);
    EXPECT_EQ(game.settings.saves, savesBefore + 1);
    for (const auto& [name, value] : testing::SettingsValues{{"Score1", "4321"}, {"Name1", "Half"}, {"Round1", "3"}})
        EXPECT_EQ(game.settings.values[name], value) << name;
    EXPECT_EQ(game.dialogs.opened, (std::vector<std::string>{"input"}));
}

struct Scenario {
    const char* name;
    std::array<std::uint32_t, 8> options; // as the Option dialog's rows
    bool soundAndMusic;
    int diveEvery; // ticks between dives (0: none); the phase shifts every round
    int ticks;
    std::uint64_t traceHash;
    std::uint64_t frameHash;
    std::vector<std::uint16_t> states; // every state word the game must pass through
};

// FNV-1a, taking the trace a byte and the frames a pixel at a time.
struct Fnv64 {
    void Add(std::uint32_t value) { hash = (hash ^ value) * 0x100000001b3ull; }
    void Add(std::string_view text)
    {
        for (const unsigned char c : text)
            Add(c);
    }
    std::uint64_t hash = 0xcbf29ce484222325ull;
};

class TraceAndFrames : public ::testing::TestWithParam<Scenario> {};

TEST_P(TraceAndFrames, AreThoseRecorded)
{
    // Each game starts as the program's first does, whatever this process
    // played before: every game's values are its own.
    const Scenario& s = GetParam();
    testing::StartedRun run(s.soundAndMusic ? testing::SettingsValues{{"Sound", "1"}, {"Music", "1"}}
                                            : testing::SettingsValues{});
    HeadlessGame& game = run.game;
    GameRecord& record = game.Record();
    for (std::size_t row = 0; row < kOptionRows.size(); ++row)
        SetOptionBits(record.game, row, s.options[row]);
    InitTitle(record.game);
    Settle(record);

    Fnv64 trace, frames;
    std::set<std::uint16_t> seen;
    sim::PlayedSince played;
    int pausedAt = 0;
    for (int k = 1; k <= s.ticks; ++k) {
        if (k == 3 || (record.game.state == StateTitle && k % 400 == 0))
            game.Command(IDM_START);
        if (s.diveEvery != 0 && (k + static_cast<int>(record.game.round)) % s.diveEvery == 0)
            game.Click();
        // One pause of five ticks, in the first tick of play from 700 on.
        if ((pausedAt == 0 && k >= 700 && record.game.state == StatePlay) || (pausedAt != 0 && k == pausedAt + 5)) {
            pausedAt = pausedAt == 0 ? k : pausedAt;
            game.Command(IDM_PAUSE);
        }
        game.dialogs.nextName = "Player " + std::to_string(k);
        game.Tick();
        const std::string line = sim::TraceLine(static_cast<std::uint64_t>(k), record,
                                                played.Effects(game.wave, record), played.Music(game.music));
        trace.Add(line);
        for (const Pixel p : record.drawing.frameBitmap->Pixels())
            frames.Add(p);
        seen.insert(record.game.state);
    }
    trace.Add(sim::HighScoreLines(record));

    for (std::uint16_t state : s.states)
        EXPECT_TRUE(seen.count(state)) << "state " << std::hex << state << " never seen";
    // On a change, the message gives the two hashes as the table writes them.
    EXPECT_EQ(std::pair(trace.hash, frames.hash), std::pair(s.traceHash, s.frameHash))
        << s.name << ": " << std::hex << "0x" << trace.hash << "ull, 0x" << frames.hash << "ull";
}

// Between them the games pass every state, every round theme and both of the
// jumper's looks, the boss's plain, tinted and white looks and its wipe, the
// hurry-up, a pause, lost games and entries in the table.
// clang-format off
const Scenario kScenarios[] = {
    {"defaults", {1, 60, 10, 300, 80, 600, 50, 4}, true, 13, 1500, 0x6e85c3fd32493f57ull, 0xa1df5ef81d11790cull,
     {StateTitle, StatePlay, StatePause, kStartBannerWord, kGameOverBannerWord}},
    {"stomps", {1, 60, 1, 20, 80, 1000000, 50, 50}, true, 7, 4000, 0xa142c9dc38209beaull, 0x43acd689c55b3e27ull,
     {StateDissolve, kClearBannerWord, kGameOverBannerWord}},
    {"late_rounds", {11, 60, 3, 10, 80, 60, 50, 30}, false, 5, 4000, 0x2c96cb933effc1c6ull, 0x66e751c36ab31b9full,
     {kHurryBannerWord, kGameOverBannerWord}},
    {"tinted", {1, 60, 3, 20, 80, 1000000, 50, 50}, true, 11, 3000, 0xdf3033c90a1539a0ull, 0x3177d967d85d0c9dull,
     {StateDissolve, kClearBannerWord}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Games, TraceAndFrames, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& param) { return std::string(param.param.name); });

} // namespace
} // namespace ruvo
