// What the program keeps from one game to the next: the random generator's
// seed, the sun's frame and the boss patterns' counters. None is reset
// between games, so each game starts from where the last one left them; each
// game value carries them (record/game.h), and a replay starts from them.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace ruvo {

// The patterns' own counters and headings; only their owner's placement
// resets them.
struct BossCounters {
    std::int32_t stairsTicks = 0;
    std::int32_t stairsDir = 0;
    std::int32_t hopTicks = 0;
    std::int32_t stopHeading = 0;
    std::int32_t stopTicks = 0;
    std::int32_t dashHeading = 0;
    std::int32_t dashTicks = 0;
    std::int32_t lungeHeading = 0;
    std::int32_t lungeTicks = 0;

    bool operator==(const BossCounters&) const = default;
};

struct ProgramState {
    std::uint32_t seed = 1; // the generator's, 1 at program start
    std::int32_t sunFrame = 0;
    BossCounters boss;

    bool operator==(const ProgramState&) const = default;
};

} // namespace ruvo
