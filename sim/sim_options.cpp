// The headless runner's command line and script.
// SPDX-License-Identifier: MIT
#include "sim/sim_options.h"

#include <cstddef>
#include <cstdio>
#include <sstream>
#include <utility>

namespace ruvo::sim {
namespace {

constexpr const char* kOptionNames[] = {"optRound", "optGameLevel",  "optBossLevel",  "optDistance",
                                        "optSpeed", "optHarryLevel", "optHarrySpeed", "optDamage"};

bool ParseUnsigned(const std::string& text, std::uint64_t limit, std::uint64_t& value)
{
    if (text.empty() || text.size() > 20)
        return false;
    value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(ch - '0');
        if (value > limit)
            return false;
    }
    return true;
}

bool ParseCount(const std::string& text, std::uint64_t& value)
{
    return ParseUnsigned(text, 1'000'000'000'000ull, value);
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& content)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    content.clear();
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        content.append(buffer, n);
    // A folder opens on some systems and not on others; it reads on none.
    const bool read = std::ferror(file) == 0;
    std::fclose(file);
    return read;
}

bool ValidOption(const OptionSetting& option)
{
    bool known = false;
    for (const char* name : kOptionNames)
        known = known || option.name == name;
    if (!known)
        return false;
    std::uint64_t value = 0;
    if (option.name == "optDamage") {
        const bool negative = !option.value.empty() && option.value[0] == '-';
        return ParseUnsigned(negative ? option.value.substr(1) : option.value, negative ? 0x80000000ull : 0x7FFFFFFFull,
                             value);
    }
    return ParseUnsigned(option.value, 0xFFFFFFFFull, value);
}

std::optional<std::vector<ScriptCommand>> ParseScript(const std::string& text, std::string& lineError)
{
    std::vector<ScriptCommand> script;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    std::uint64_t last = 1;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line[line.find_first_not_of(" \t")] == '#')
            continue;
        const auto fail = [&](const std::string& why) {
            lineError = "script line " + std::to_string(number) + ": " + why + ": " + line;
            return std::nullopt;
        };
        const std::size_t first = line.find(' ');
        ScriptCommand command;
        if (first == std::string::npos || !ParseCount(line.substr(0, first), command.tick) || command.tick < 1)
            return fail("expected <tick> <command>");
        const std::string rest = line.substr(first + 1);
        const std::size_t second = rest.find(' ');
        command.command = rest.substr(0, second);
        if (command.command == "name") {
            command.argument = second == std::string::npos ? "" : rest.substr(second + 1);
        } else if (command.command == "start" || command.command == "pause" || command.command == "dive" ||
                   command.command == "sound" || command.command == "music") {
            if (second != std::string::npos && rest.find_first_not_of(' ', second) != std::string::npos)
                return fail("unexpected argument");
        } else {
            return fail("unknown command");
        }
        if (command.tick < last)
            return fail("tick numbers must not decrease");
        last = command.tick;
        script.push_back(command);
    }
    return script;
}

std::optional<RunSettings> ParseCommandLine(const std::vector<std::string>& args, std::string& error)
{
    RunSettings settings;
    bool haveTicks = false;
    bool haveEvery = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = "missing value after " + arg;
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--ticks") {
            if (!value(text) || !ParseCount(text, settings.ticks)) {
                error = error.empty() ? "bad --ticks value: " + text : error;
                return std::nullopt;
            }
            haveTicks = true;
        } else if (arg == "--option") {
            if (!value(text))
                return std::nullopt;
            const std::size_t eq = text.find('=');
            OptionSetting option{text.substr(0, eq), eq == std::string::npos ? "" : text.substr(eq + 1)};
            if (eq == std::string::npos || !ValidOption(option)) {
                error = "bad --option: " + text;
                return std::nullopt;
            }
            settings.options.push_back(option);
        } else if (arg == "--script") {
            if (!value(text))
                return std::nullopt;
            std::string content;
            if (!ReadWholeFile(text, content)) {
                error = "cannot read script: " + text;
                return std::nullopt;
            }
            auto script = ParseScript(content, error);
            if (!script)
                return std::nullopt;
            settings.script = std::move(*script);
        } else if (arg == "--settings") {
            if (!value(text))
                return std::nullopt;
            settings.settingsFile = text;
        } else if (arg == "--trace") {
            settings.trace = true;
        } else if (arg == "--frames") {
            if (!value(text))
                return std::nullopt;
            settings.framesDir = text;
        } else if (arg == "--every") {
            if (!value(text) || !ParseCount(text, settings.every) || settings.every == 0) {
                error = error.empty() ? "bad --every value: " + text : error;
                return std::nullopt;
            }
            haveEvery = true;
        } else {
            error = "unknown argument: " + arg;
            return std::nullopt;
        }
    }
    if (!haveTicks) {
        error = "missing --ticks N";
        return std::nullopt;
    }
    if (settings.framesDir.has_value() != haveEvery) {
        error = "--frames DIR and --every K go together";
        return std::nullopt;
    }
    return settings;
}

} // namespace ruvo::sim
