// The headless runner's command line and script.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "replay/command_script.h"

namespace ruvo::sim {

struct OptionSetting {
    std::string name;
    std::string value;
};

// The script's syntax is the engine's (app/command_script.h), which the
// replay files share.
using ruvo::ParseScript;
using ruvo::ScriptCommand;

struct RunSettings {
    std::uint64_t ticks = 0;
    std::vector<OptionSetting> options;
    std::vector<ScriptCommand> script;
    std::optional<std::string> settingsFile;
    bool trace = false;
    std::optional<std::string> framesDir;
    std::uint64_t every = 0;
    std::optional<std::string> recordFile; // the replay of the last game that ended
    std::vector<std::string> verifyFiles;  // replays to verify, instead of a run
    unsigned jobs = 0;                     // verifications at once; 0: one per processor
    std::optional<std::string> fromFile;   // a replay whose start state the run starts from
    std::optional<std::string> dailyDay;   // YYYY-MM-DD: every start is that day's challenge
    std::optional<std::string> raceFile;   // a replay whose ghost the run's first start races
};

// Parses the command line (and reads the script file). On a malformed
// argument or script line, returns nothing and sets error to a one-line message.
std::optional<RunSettings> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

// The largest script and settings file ruvo-sim reads, in bytes.
constexpr std::size_t kScriptMaxBytes = std::size_t{16} << 20;
constexpr std::size_t kSettingsMaxBytes = std::size_t{1} << 20;

// Reads a whole regular file of at most limit bytes. A device, a FIFO or a
// folder is refused before anything is read from it, and nothing past the
// limit is read. False, with a one-line reason, when it cannot be had.
// (POSIX calls: the WebAssembly build's C++ library has no file streams.)
bool ReadFileWithin(const std::string& path, std::size_t limit, std::string& content, std::string& why);

// Checks an option's name and value: one of the eight option fields, an
// unsigned decimal within 32 bits (optDamage: a signed one).
bool ValidOption(const OptionSetting& option);

} // namespace ruvo::sim
