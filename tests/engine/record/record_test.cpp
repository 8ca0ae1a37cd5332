// Tests of the random generator and the record's arithmetic.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "record/record.h"

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

} // namespace
} // namespace ruvo
