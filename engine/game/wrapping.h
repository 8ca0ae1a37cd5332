// Two's-complement arithmetic on 32-bit integers: the game's positions,
// counters and timers wrap around at the ends of their range instead of
// overflowing, so that absurd option values play on rather than misbehave.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace ruvo {

constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t WrapNegate(std::int32_t value)
{
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value));
}

constexpr std::int32_t WrapMultiply(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// The low 32 bits of a 64-bit number.
constexpr std::int32_t WrapTo32(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

} // namespace ruvo
