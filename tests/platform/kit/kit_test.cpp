// What the machines share: the stored number's text.
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "platform/kit/stored_number.h"

namespace ruvo {
namespace {

// A stored number is the game's own plain decimal, ten digits at most.
TEST(StoredNumber, OnlyPlainDecimalWithinThirtyTwoBitsIsANumber)
{
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"0", 0u},          {"4294967295", 4294967295u},
        {"0000000007", 7u}, {"00000000007", {}},
        {"4294967296", {}}, {"", {}},
        {"+1", {}},         {"1 ", {}},
        {"0x10", {}},       {"1.5", {}}};
    for (const auto& [text, expected] : cases) {
        std::uint32_t value = 99;
        EXPECT_EQ(ParseStoredNumber(text, value), expected.has_value()) << text;
        EXPECT_EQ(value, expected.value_or(99)) << text;
    }
    std::uint32_t value = 0;
    EXPECT_TRUE(ParseStoredNumber(StoredNumberText(4294967295u), value));
    EXPECT_EQ(value, 4294967295u);
}

} // namespace
} // namespace ruvo
