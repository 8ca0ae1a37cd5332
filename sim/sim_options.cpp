// The headless runner's command line and script.
// SPDX-License-Identifier: MIT
#include "sim/sim_options.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <utility>

#include "record/decimal.h"
#include "replay/daily.h"
#include "settings/options.h"

// Windows reads files as text unless told; elsewhere there is no such mode,
// and its own FIFOs are not where ruvo-sim.exe reads from.
#ifndef O_BINARY
#define O_BINARY 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif

namespace ruvo::sim {
namespace {

bool ParseCount(const std::string& text, std::uint64_t& value)
{
    return ParseDecimal(text, kLastScriptTick, value);
}

} // namespace

bool ReadFileWithin(const std::string& path, std::size_t limit, std::string& content, std::string& why)
{
    content.clear();
    // Not blocking on a FIFO's writer: it is refused as soon as it is seen.
    const int file = open(path.c_str(), O_RDONLY | O_BINARY | O_NONBLOCK);
    if (file < 0) {
        // Windows opens no folder: it is refused in the same words as elsewhere.
        const std::string error = std::strerror(errno);
        struct stat info{};
        why = stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) ? "not a regular file"
                                                                       : "cannot be opened: " + error;
        return false;
    }
    struct stat info{};
    bool read = false;
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode))
        why = "not a regular file";
    else if (static_cast<std::uint64_t>(info.st_size) > limit)
        why = "too large: " + std::to_string(info.st_size) + " bytes, where at most " + std::to_string(limit) +
              " are read";
    else {
        // A file that grows while it is read is still read no further than
        // the limit. (Read straight into the text: WebAssembly's stack is small.)
        constexpr std::size_t kStep = 16384;
        read = true;
        for (;;) {
            const std::size_t had = content.size();
            content.resize(had + kStep);
            const auto n = ::read(file, content.data() + had, kStep);
            content.resize(had + static_cast<std::size_t>(std::max<decltype(n)>(n, 0)));
            if (n < 0) {
                why = std::string("cannot be read: ") + std::strerror(errno);
                read = false;
                break;
            }
            if (n == 0)
                break;
            if (content.size() > limit) {
                why = "too large: it grew past " + std::to_string(limit) + " bytes while it was read";
                read = false;
                break;
            }
        }
    }
    close(file);
    if (!read)
        content.clear();
    return read;
}

bool ValidOption(const OptionSetting& option)
{
    const std::optional<std::size_t> row = OptionByName(option.name);
    std::uint32_t bits = 0;
    return row && ParseOption(*row, option.value, bits);
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
            std::string content, why;
            if (!ReadFileWithin(text, kScriptMaxBytes, content, why)) {
                error = "cannot read script " + text + ": " + why;
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
        } else if (arg == "--record") {
            if (!value(text))
                return std::nullopt;
            settings.recordFile = text;
        } else if (arg == "--verify") {
            if (!value(text))
                return std::nullopt;
            settings.verifyFiles.push_back(text);
            // The files that follow, up to the next option.
            while (i + 1 < args.size() && args[i + 1].rfind("-", 0) != 0)
                settings.verifyFiles.push_back(args[++i]);
        } else if (arg == "-j" || arg == "--jobs") {
            std::uint64_t jobs = 0;
            if (!value(text) || !ParseDecimal(text, 256, jobs) || jobs == 0) {
                error = error.empty() ? "bad " + arg + " value: " + text + " (1 to 256)" : error;
                return std::nullopt;
            }
            settings.jobs = static_cast<unsigned>(jobs);
        } else if (arg == "--daily") {
            if (!value(text) || !ParseDay(text)) {
                error = error.empty() ? "bad --daily value: " + text + " (YYYY-MM-DD)" : error;
                return std::nullopt;
            }
            settings.dailyDay = text;
        } else if (arg == "--race") {
            if (!value(text))
                return std::nullopt;
            settings.raceFile = text;
        } else if (arg == "--from") {
            if (!value(text))
                return std::nullopt;
            settings.fromFile = text;
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
    if (!settings.verifyFiles.empty()) {
        if (args.size() != settings.verifyFiles.size() + 1 + (settings.jobs != 0 ? 2 : 0)) {
            error = "--verify FILE... goes alone, or with -j N";
            return std::nullopt;
        }
        return settings;
    }
    if (settings.jobs != 0) {
        error = "-j N goes with --verify";
        return std::nullopt;
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
