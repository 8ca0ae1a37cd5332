// The day's start, from its date.
// SPDX-License-Identifier: MIT
#include "replay/daily.h"

#include <cstdio>

#include "record/decimal.h"
#include "settings/options.h"

namespace ruvo {
namespace {

bool LeapYear(std::int32_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::int32_t DaysIn(std::int32_t year, std::int32_t month)
{
    constexpr std::int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

} // namespace

std::optional<Day> ParseDay(std::string_view text)
{
    std::uint64_t year = 0, month = 0, day = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !ParseDecimal(text.substr(0, 4), 9999, year) ||
        !ParseDecimal(text.substr(5, 2), 12, month) || !ParseDecimal(text.substr(8, 2), 31, day))
        return std::nullopt;
    const Day parsed{static_cast<std::int32_t>(year), static_cast<std::int32_t>(month), static_cast<std::int32_t>(day)};
    if (parsed.year < 1970 || parsed.month < 1 || parsed.day < 1 || parsed.day > DaysIn(parsed.year, parsed.month))
        return std::nullopt;
    return parsed;
}

std::string DayText(const Day& day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(day.year), static_cast<int>(day.month),
                  static_cast<int>(day.day));
    return text;
}

Day DayOf(std::int64_t seconds)
{
    // Days to a civil date (Howard Hinnant's civil_from_days).
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int32_t>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), static_cast<std::int32_t>(month),
            static_cast<std::int32_t>(dayOfYear - (153 * mp + 2) / 5 + 1)};
}

std::array<std::uint32_t, 8> DailyOptions()
{
    std::array<std::uint32_t, 8> options{};
    for (std::size_t row = 0; row < options.size(); ++row)
        options[row] = static_cast<std::uint32_t>(kOptionRows[row].defaultValue);
    return options;
}

bool IsDailyStart(const ReplayStart& start)
{
    const std::optional<Day> day = ParseDay(start.challenge);
    return day && start.program == DailyProgram(*day) && start.options == DailyOptions();
}

ProgramState DailyProgram(const Day& day)
{
    std::uint32_t hash = 0x811c9dc5u;
    for (const unsigned char c : "Ruvo daily " + DayText(day))
        hash = (hash ^ c) * 16777619u;
    ProgramState program;
    program.seed = hash;
    program.sunFrame = static_cast<std::int32_t>(hash % 3u);
    return program;
}

} // namespace ruvo
