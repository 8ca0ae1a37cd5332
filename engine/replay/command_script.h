// The command script: one command a line, "<k> COMMAND", given before the
// game's tick k. ruvo-sim reads its scripts in it, and a replay file lists
// the commands of its game in it.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ruvo {

struct ScriptCommand {
    std::uint64_t tick = 0; // given after tick-1 and before tick
    std::string command;    // start, pause, dive, sound, music, name
    std::string argument;   // name's text

    bool operator==(const ScriptCommand&) const = default;
};

// The highest tick a script may name.
constexpr std::uint64_t kLastScriptTick = 1'000'000'000'000ull;

// Adds the commands of one line to script: none for a blank line or a '#'
// comment, several for "<k> dive d1 d2 ...", which dives before tick k, again
// d1 ticks later, d2 ticks after that and so on. Ticks start at 1 and never go
// back, from line to line as within one. False, with why, for a bad line.
bool ParseScriptLine(std::string_view line, std::vector<ScriptCommand>& script, std::string& why);

// The whole text, line by line; lineError names the first bad line.
std::optional<std::vector<ScriptCommand>> ParseScript(std::string_view text, std::string& lineError);

} // namespace ruvo
