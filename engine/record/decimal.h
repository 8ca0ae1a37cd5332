// The one reader of decimal numbers that every text of the game's goes
// through: replay files, ruvo-sim's command line and scripts, the Option
// dialog's edits and the values a settings store keeps as text.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

namespace ruvo {

// Digits only, at least one, and at most most: anything else (a sign, a
// blank, a digit too many) reads as nothing.
constexpr bool ParseDecimal(std::string_view text, std::uint64_t most, std::uint64_t& value)
{
    if (text.empty())
        return false;
    std::uint64_t number = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        const auto digit = static_cast<std::uint64_t>(ch - '0');
        if (digit > most || number > (most - digit) / 10)
            return false;
        number = number * 10 + digit;
    }
    value = number;
    return true;
}

// A 32-bit number, unsigned or (with an optional '-') signed, as its bits.
constexpr bool ParseDecimal32(std::string_view text, bool isSigned, std::uint32_t& bits)
{
    const bool negative = isSigned && !text.empty() && text.front() == '-';
    std::uint64_t magnitude = 0;
    const std::uint64_t most = !isSigned ? 0xFFFFFFFFull : negative ? 0x80000000ull : 0x7FFFFFFFull;
    if (!ParseDecimal(negative ? text.substr(1) : text, most, magnitude))
        return false;
    bits = negative ? 0u - static_cast<std::uint32_t>(magnitude) : static_cast<std::uint32_t>(magnitude);
    return true;
}

} // namespace ruvo
