// The program-wide values, the random generator's seed among them, and the
// game's one random generator.
// SPDX-License-Identifier: MIT
#include "record/program_state.h"
#include "record/record.h"

namespace ruvo {
namespace {
ProgramState program;
}

ProgramState& Program()
{
    return program;
}

std::int32_t NextRandom()
{
    std::uint32_t& seed = Program().seed;
    seed = seed * 214013u + 2531011u;
    return static_cast<std::int32_t>((seed >> 16) & 0x7FFFu);
}

std::uint32_t RandomSeed()
{
    return Program().seed;
}

} // namespace ruvo
