#include <gtest/gtest.h>

#include "record/record.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

TEST(NextRandom, StartsWithTheFixedSequence)
{
    EXPECT_EQ(NextRandom(), 41);
    EXPECT_EQ(NextRandom(), 18467);
    EXPECT_EQ(NextRandom(), 6334);
    EXPECT_EQ(NextRandom(), 26500);
    EXPECT_EQ(NextRandom(), 19169);
}

TEST(RoundTheme, WrapsUnsignedSoThatRoundZeroIsThemeFive)
{
    EXPECT_EQ(RoundTheme(1), 0u);
    EXPECT_EQ(RoundTheme(10), 9u);
    EXPECT_EQ(RoundTheme(11), 0u);
    EXPECT_EQ(RoundTheme(0), 5u);
}

using FirstRun = testing::GameFixture;

TEST_F(FirstRun, StartsOnTheTitleWithEveryDefault)
{
    Start();
    const GameRecord& r = R();
    EXPECT_EQ(r.state, StateTitle);
    EXPECT_EQ(r.optRound, 1u);
    EXPECT_EQ(r.optDistance, 300u);
    EXPECT_EQ(r.optHarryLevel, 600u);
    EXPECT_EQ(r.optGameLevel, 60u);
    EXPECT_EQ(r.optBossLevel, 10u);
    EXPECT_EQ(r.optSpeed, 80u);
    EXPECT_EQ(r.optHarrySpeed, 50u);
    EXPECT_EQ(r.optDamage, 4);
    EXPECT_EQ(r.score, 0u);
    EXPECT_EQ(r.maxGap, 9);
    EXPECT_EQ(r.bossColMax, 47);
    EXPECT_EQ(r.bossColMin, 0);
    EXPECT_EQ(r.bossRowMax, 8);
    EXPECT_EQ(r.bossRowMin, 4);
    EXPECT_EQ(r.musicTrack, 0);
    EXPECT_EQ(r.soundOn, 0);
    EXPECT_EQ(r.musicOn, 0);
    EXPECT_EQ(r.optionEnabled, 0);
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(r.hiScores[k], 1000u);
        EXPECT_EQ(r.hiRounds[k], 1u);
        EXPECT_STREQ(r.hiNames[k].data(), "K.Dorrimak");
    }
    EXPECT_EQ(r.stageWidth, 448);
    EXPECT_EQ(r.stageHeight, 264);
    EXPECT_EQ(r.gridCols, 56);
    EXPECT_EQ(r.gridRows, 33);
    // 3 x 3 frame, 18 caption, 19 menu: a 390 x 243 window around 384 x 200.
    EXPECT_EQ(r.windowWidth, 390);
    EXPECT_EQ(r.windowHeight, 243);
}

} // namespace
} // namespace ruvo
