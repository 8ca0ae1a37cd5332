// The daily challenge: one game a day that everyone plays from the same
// start, in every edition. A day's start is made from its UTC date alone:
//   seed      FNV-1a (32 bits) of the text "Ruvo daily YYYY-MM-DD"
//   sunFrame  the seed modulo 3
//   the boss patterns' counters and headings at 0, as when the program starts
// and the options at their defaults. The table and the switches are the
// player's own.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "record/program_state.h"
#include "record/replay_state.h"

namespace ruvo {

struct Day {
    std::int32_t year = 1970;
    std::int32_t month = 1;
    std::int32_t day = 1;

    bool operator==(const Day&) const = default;
};

// "YYYY-MM-DD", a date of the years 1970 to 9999 that exists; nothing else.
std::optional<Day> ParseDay(std::string_view text);
std::string DayText(const Day& day);
// The UTC date of a count of seconds since 1970.
Day DayOf(std::int64_t seconds);

// The program's values a game of that day starts from.
ProgramState DailyProgram(const Day& day);
// The options at their defaults, as every daily game plays them.
std::array<std::uint32_t, 8> DailyOptions();
// A start that names a day starts from that day's program values and options.
bool IsDailyStart(const ReplayStart& start);

} // namespace ruvo
