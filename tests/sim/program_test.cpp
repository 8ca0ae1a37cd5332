// The program on the in-memory machine, started as main starts it: what the
// shell does with the menu's commands, and the record a first run starts with.
// Two programs over one settings store are tested on the real file (tests/platform/desktop).
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "game/window.h"
#include "settings/dialog_logic.h"
#include "support/game_run.h"

namespace ruvo {
namespace {

class Program : public ::testing::Test, public testing::GameRun {};

// The defaults that the recorded games set themselves, the window's size,
// the Replays item where the edition keeps replays; Start greyed outside the
// title, and Pause on it; then the window closed during the name dialog.
TEST_F(Program, StartsOnTheTitleWithEveryDefaultStartAndPauseApplyAndACloseKeepsTheNamedEntry)
{
    game.Start();
    GameRecord& r = R();
    EXPECT_EQ(r.game.state, StateTitle);
    // Round, Game Level, Boss Level, Distance, Speed, Harry Level, Harry Speed, Damage.
    EXPECT_EQ(FillOptionEdits(r), (std::array<std::string, 8>{"1", "60", "10", "300", "80", "600", "50", "4"}));
    EXPECT_EQ(r.optionEnabled, 0);
    // 3 x 3 frame, 18 caption, 19 menu: a 390 x 243 window around 384 x 200.
    EXPECT_EQ(r.windowWidth, 390);
    EXPECT_EQ(r.windowHeight, 243);
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
    EXPECT_EQ(game.settings.values["Score1"], "4321");
    EXPECT_EQ(game.settings.values["Name1"], "Half");
    EXPECT_EQ(game.settings.values["Round1"], "3");
    EXPECT_EQ(game.dialogs.opened, (std::vector<std::string>{"input"}));
}

} // namespace
} // namespace ruvo
