// Tests of the game as a value: its generator, its copies and its picture's
// bookkeeping, and the round's theme.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <utility>

#include "record/record.h"

namespace ruvo {
namespace {

// Every game starts the fixed sequence; a copy goes on where the game it
// was copied from was, and neither moves the other's generator.
TEST(NextRandom, StartsWithTheFixedSequenceInEveryGameAndCopiesGoOnAlone)
{
    Game one;
    for (const std::int32_t value : {41, 18467, 6334})
        EXPECT_EQ(NextRandom(one), value);
    Game copy = one;
    Game other;
    EXPECT_EQ(NextRandom(other), 41);
    for (const std::int32_t value : {26500, 19169})
        EXPECT_EQ(NextRandom(copy), value);
    EXPECT_EQ(NextRandom(one), 26500);
}

TEST(Picture, KeepsTheNewestColumnsAndCountsAPausesBannerOnce)
{
    Picture picture;
    EXPECT_EQ(ColumnAt(picture, kStageColumns - 2), nullptr);
    AddCloud(picture, 7); // onto the stage before any column
    for (std::uint32_t theme = 0; theme < 20; ++theme)
        AddColumn(picture, theme % 10, theme % 3 == 0);
    AddCloud(picture, 12);
    const SceneryColumn* newest = ColumnAt(picture, kStageColumns - 1);
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(newest->theme, 9);
    EXPECT_TRUE(newest->platform == (19 % 3 == 0));
    EXPECT_EQ(newest->clouds, 1);
    EXPECT_EQ(ColumnAt(picture, 0)->theme, (20 - kStageColumns) % 10);

    Mark pause;
    pause.kind = MarkKind::Banner;
    pause.a = static_cast<std::uint8_t>(BannerText::Pause);
    for (int i = 0; i < 1000; ++i)
        AddMark(picture, pause);
    ASSERT_EQ(picture.marks.size(), 1u);
    EXPECT_EQ(picture.marks[0].repeat, 1000u);
    Compose(picture, 8);
    EXPECT_TRUE(picture.marks.empty());
    EXPECT_EQ(picture.composeX, 8);
}

TEST(RoundTheme, WrapsUnsignedSoThatRoundZeroIsThemeFive)
{
    for (auto [round, theme] : {std::pair{1u, 0u}, {10u, 9u}, {11u, 0u}, {0u, 5u}})
        EXPECT_EQ(RoundTheme(round), theme) << round;
}

} // namespace
} // namespace ruvo
