#include "audio/audio.h"
#include "game/banners.h"
#include "game/flow.h"
#include "game/grid.h"
#include "support/game_fixture.h"

#include <algorithm>
#include <utility>

namespace ruvo {
namespace {

using Flow = testing::GameFixture;

// Puts the jumper just above the floor with nothing under it, so that the
// next tick of play touches the floor.
void AboutToTouchFloor(GameRecord& r)
{
    FillCells(r, 0, 0, r.gridCols, 24, CellEmpty);
    r.jumperRow = 20;
    r.jumperVy = 1;
}

TEST_F(Flow, TheBossEntersAtTheDistanceWithItsMusic)
{
    settings.values["Music"] = "1";
    Start();
    R().optDistance = 5;
    StartGame();
    Ticks(20 + 4);
    EXPECT_EQ(R().bossActive, 0);
    EXPECT_EQ(R().musicTrack, MusicRound);
    Ticks(1);
    EXPECT_EQ(R().roundTicks, 5u);
    EXPECT_EQ(R().bossActive, 1);
    EXPECT_EQ(R().musicTrack, MusicBoss);
    ASSERT_FALSE(music.plays.empty());
    EXPECT_EQ(music.plays.back().handle, 3u);
    EXPECT_EQ(music.plays.back().repeat, 1);
}

TEST_F(Flow, HurryUpShowsTenTicksAtTheFasterPeriod)
{
    settings.values["Sound"] = "1";
    Start();
    R().optHarryLevel = 10;
    R().optDistance = 1000;
    R().optGameLevel = 100;
    StartGame();
    Ticks(20 + 10);
    EXPECT_EQ(R().state, kHurryBannerWord);
    EXPECT_EQ(R().bannerTicks, 10);
    EXPECT_EQ(R().tickInterval, 50);
    EXPECT_EQ(window.timerPeriod, 50);
    EXPECT_EQ(R().hurryActive, 1);
    ASSERT_FALSE(wave.played.empty());
    EXPECT_EQ(wave.played.back().image, R().waveData[SoundHurry]);
    EXPECT_NE(std::find(text.drawn.begin(), text.drawn.end(), "HARRY UP"), text.drawn.end());
    Ticks(10);
    EXPECT_EQ(R().state, StatePlay);
    const std::uint32_t ticks = R().roundTicks;
    Ticks(3);
    EXPECT_EQ(R().roundTicks, ticks + 3);
    EXPECT_EQ(R().state, StatePlay); // hurry-up fires once per round
}

// The hurry-up due on the same tick waits for a game that is over.
TEST_F(Flow, GameOverWaitsTwentyTicksThenTheTitleReturns)
{
    settings.values["Music"] = "1";
    Play();
    R().lives = 0;
    R().optHarryLevel = R().roundTicks + 1;
    AboutToTouchFloor(R());
    const std::uint32_t score = R().score;
    Ticks(1);
    EXPECT_EQ(R().state, kGameOverBannerWord);
    EXPECT_EQ(R().hurryActive, 0);
    EXPECT_EQ(R().tickInterval, 80);
    EXPECT_EQ(R().score, score + 1); // the tick of the loss still scores
    EXPECT_NE(std::find(text.drawn.begin(), text.drawn.end(), "GAME OVER"), text.drawn.end());
    Ticks(19);
    EXPECT_EQ(R().state, kGameOverBannerWord);
    Ticks(1);
    EXPECT_EQ(R().state, StateTitle);
    EXPECT_EQ(R().musicTrack, MusicTitle);
    EXPECT_TRUE(window.IsEnabled(IDM_START));
    EXPECT_FALSE(window.IsEnabled(IDM_PAUSE));
    EXPECT_EQ(R().score, score + 1); // the title shows the last game's score
}

TEST_F(Flow, RoundClearShowsTheRoundWithTwoDigitsThenTheNextRoundStarts)
{
    Play();
    R().round = 7;
    ShowRoundClear(R());
    EXPECT_EQ(text.drawn.back(), "07 Round Clear");
    EXPECT_EQ(R().state, kClearBannerWord);
    Ticks(19);
    EXPECT_EQ(R().round, 7u);
    Ticks(1);
    EXPECT_EQ(R().round, 8u);
    EXPECT_EQ(R().state, kStartBannerWord);
    EXPECT_EQ(R().bannerTicks, 20);
    EXPECT_EQ(text.drawn.back(), "START");
    R().round = 100;
    ShowRoundClear(R());
    EXPECT_EQ(text.drawn.back(), "100 Round Clear");
}

TEST_F(Flow, ANewRoundRestoresTheNormalPeriodAndResetsTheJumper)
{
    Start();
    StartGame();
    R().tickInterval = 50;
    R().jumperRow = 3;
    StartRound(R());
    EXPECT_EQ(R().tickInterval, 80);
    EXPECT_EQ(window.timerPeriod, 80);
    EXPECT_EQ(R().jumperRow, 17);
    EXPECT_EQ(R().jumperCol, 12);
    EXPECT_EQ(R().jumperVy, -1);
    EXPECT_EQ(R().stompArmed, 1);
}

TEST(BossHits, FollowTheRoundAndTheBossLevel)
{
    const std::pair<std::uint32_t, std::int32_t> level10[] = {{1, 10}, {2, 10},  {3, 11}, {4, 11},
                                                              {5, 12}, {11, 15}, {21, 20}};
    for (auto [round, hits] : level10)
        EXPECT_EQ(BossHitsFor(round, 10), hits) << "round " << round;
    for (std::uint32_t round = 1; round <= 7; ++round)
        EXPECT_EQ(BossHitsFor(round, 3), 3);
    for (std::uint32_t round = 8; round <= 14; ++round)
        EXPECT_EQ(BossHitsFor(round, 3), 4);
    EXPECT_EQ(BossHitsFor(5, 0), 0);
    // Round 0 wraps to 2^32 - 1; the product is huge but defined.
    EXPECT_EQ(BossHitsFor(0, 1), 214748365); // (429496729.5 + 2) / 2, truncated
    EXPECT_EQ(BossHitsFor(0, 4294967295u),
              static_cast<std::int32_t>(static_cast<std::uint32_t>(
                  static_cast<std::int64_t>((4294967295.0 / 10.0 + 2.0) / 2.0 * 4294967295.0))));
}

TEST_F(Flow, JumperLookChangesEveryTenRounds)
{
    Start();
    for (auto [round, look] : {std::pair{1u, 0}, {10u, 0}, {11u, 2}, {20u, 2}, {21u, 0}, {31u, 2}, {0u, 2}}) {
        R().round = round;
        ResetRound(R());
        EXPECT_EQ(R().jumperLook, look) << "round " << round;
    }
}

TEST(StatusLine, WritesAtLeastTheMinimumDigitsAndAllOfThem)
{
    EXPECT_EQ(FormatStatusLine(1000, 0, 1), "HI-SCORE:001000      SCORE:000000      ROUND:01");
    EXPECT_EQ(FormatStatusLine(4294967295u, 1234567, 100), "HI-SCORE:4294967295      SCORE:1234567      ROUND:100");
}

} // namespace
} // namespace ruvo
