// Tests of the game's flow: title, rounds, banners, hurry-up and game over.
// SPDX-License-Identifier: MIT
#include "audio/audio.h"
#include "game/banners.h"
#include "game/flow.h"
#include "support/game_fixture.h"

#include <utility>

namespace ruvo {
namespace {

using Flow = testing::GameFixture;

TEST(BossHits, FollowTheRoundAndTheBossLevel)
{
    const std::pair<std::uint32_t, std::int32_t> level10[] = {{1, 10}, {2, 10},  {3, 11}, {4, 11},
                                                              {5, 12}, {11, 15}, {21, 20}};
    for (auto [round, hits] : level10)
        EXPECT_EQ(BossHitsFor(round, 10), hits) << "round " << round;
    for (std::uint32_t round = 1; round <= 14; ++round)
        EXPECT_EQ(BossHitsFor(round, 3), round <= 7 ? 3 : 4) << "round " << round;
    EXPECT_EQ(BossHitsFor(5, 0), 0);
    // Round 0 wraps to 2^32 - 1; a product past 32 bits keeps its low 32.
    EXPECT_EQ(BossHitsFor(0, 1), 214748365);             // (429496729.5 + 2) / 2, truncated
    EXPECT_EQ(BossHitsFor(0, 4294967295u), -1288490240); // 922337207550948096 mod 2^32
}

TEST_F(Flow, JumperLookBannerAndStatusLineDigitsThenTheHurryUpsSoundAndTimer)
{
    settings.values["Sound"] = "1";
    Start();
    for (auto [round, look] : {std::pair{1u, 0}, {10u, 0}, {11u, 2}, {20u, 2}, {21u, 0}, {31u, 2}, {0u, 2}}) {
        G().round = round;
        ResetRound(G());
        EXPECT_EQ(G().jumperLook, look) << "round " << round;
    }
    // The round-clear banner and the status line write at least their
    // digits, and all of them.
    G().round = 100;
    ShowRoundClear(G());
    Show();
    EXPECT_EQ(text.drawn.back(), "100 Round Clear");
    EXPECT_EQ(FormatStatusLine(1000, 0, 1), "HI-SCORE:001000      SCORE:000000      ROUND:01");
    EXPECT_EQ(FormatStatusLine(4294967295u, 1234567, 100), "HI-SCORE:4294967295      SCORE:1234567      ROUND:100");

    // What the recorded games do not show of the hurry-up: its sound and the
    // timer restarted at the faster period.
    G().optHarryLevel = 10;
    G().optDistance = 1000;
    G().optGameLevel = 100;
    StartGame();
    Ticks(20 + 10);
    EXPECT_EQ(G().state, kHurryBannerWord);
    EXPECT_EQ(window.timerPeriod, 50);
    ASSERT_FALSE(wave.played.empty());
    EXPECT_EQ(wave.played.back().image, R().waveData[SoundHurry]);
}

} // namespace
} // namespace ruvo
