// The game's one random generator and its seed.
// SPDX-License-Identifier: MIT
#include "record/record.h"

namespace ruvo {
namespace {
std::uint32_t seed = 1;
}

std::int32_t NextRandom()
{
    seed = seed * 214013u + 2531011u;
    return static_cast<std::int32_t>((seed >> 16) & 0x7FFFu);
}

std::uint32_t RandomSeed()
{
    return seed;
}

} // namespace ruvo
