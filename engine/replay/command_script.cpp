// The command script read line by line, a line that cannot be read named with why.
// SPDX-License-Identifier: MIT
#include "replay/command_script.h"

#include "record/decimal.h"

namespace ruvo {
namespace {

bool ParseCount(std::string_view text, std::uint64_t& value)
{
    return ParseDecimal(text, kLastScriptTick, value);
}

// The next word of text, which loses it and the blanks after it.
std::string_view NextWord(std::string_view& text)
{
    const std::size_t end = text.find(' ');
    const std::string_view word = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return word;
}

} // namespace

bool ParseScriptLine(std::string_view line, std::vector<ScriptCommand>& script, std::string& why)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#')
        return true;
    const std::uint64_t last = script.empty() ? 1 : script.back().tick;
    ScriptCommand command;
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || !ParseCount(line.substr(0, space), command.tick) || command.tick < 1) {
        why = "expected <tick> <command>";
        return false;
    }
    std::string_view rest = line.substr(space + 1);
    const std::size_t second = rest.find(' ');
    command.command = std::string(rest.substr(0, second));
    rest = second == std::string_view::npos ? std::string_view{} : rest.substr(second + 1);
    const bool name = command.command == "name";
    const bool dive = command.command == "dive";
    if (name) {
        command.argument = std::string(rest); // blanks and all
        rest = {};
    } else if (dive || command.command == "start" || command.command == "pause" || command.command == "sound" ||
               command.command == "music") {
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        if (!dive && !rest.empty()) {
            why = "unexpected argument";
            return false;
        }
    } else {
        why = "unknown command";
        return false;
    }
    if (command.tick < last) {
        why = "tick numbers must not decrease";
        return false;
    }
    script.push_back(command);
    while (!rest.empty()) {
        std::uint64_t gap = 0;
        if (!ParseCount(NextWord(rest), gap) || gap == 0 || gap > kLastScriptTick - command.tick) {
            why = "expected the ticks between dives";
            return false;
        }
        command.tick += gap;
        script.push_back(command);
    }
    return true;
}

std::optional<std::vector<ScriptCommand>> ParseScript(std::string_view text, std::string& lineError)
{
    std::vector<ScriptCommand> script;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        std::string why;
        if (!ParseScriptLine(line, script, why)) {
            std::string shown(line);
            if (!shown.empty() && shown.back() == '\r')
                shown.pop_back();
            lineError = "script line " + std::to_string(number) + ": " + why + ": " + shown;
            return std::nullopt;
        }
    }
    return script;
}

} // namespace ruvo
