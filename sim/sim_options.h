// The headless runner's command line and script.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ruvo::sim {

struct OptionSetting {
    std::string name;
    std::string value;
};

struct ScriptCommand {
    std::uint64_t tick = 0; // delivered after tick-1 and before tick
    std::string command;    // start, pause, dive, sound, music, name
    std::string argument;   // name's text
};

struct RunSettings {
    std::uint64_t ticks = 0;
    std::vector<OptionSetting> options;
    std::vector<ScriptCommand> script;
    std::optional<std::string> settingsFile;
    bool trace = false;
    std::optional<std::string> framesDir;
    std::uint64_t every = 0;
};

// Parses the command line (and reads the script file). On a malformed
// argument or script line, returns nothing and sets error to a one-line message.
std::optional<RunSettings> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

// Parses the script's text; lineError names the first bad line.
std::optional<std::vector<ScriptCommand>> ParseScript(const std::string& text, std::string& lineError);

// Reads a whole file; false when it cannot be opened. (Plain C files: the
// WebAssembly build's C++ library has no file streams.)
bool ReadWholeFile(const std::string& path, std::string& content);

// Checks an option's name and value: one of the eight option fields, an
// unsigned decimal within 32 bits (optDamage: a signed one).
bool ValidOption(const OptionSetting& option);

} // namespace ruvo::sim
