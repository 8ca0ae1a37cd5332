// ruvo-board's command line read, with a one-line error for what is wrong.
// SPDX-License-Identifier: MIT
#include "services/board/board_args.h"

#include <charconv>
#include <cstdlib>

namespace ruvo::board {

const char* const kBoardUsage =
    "Usage: ruvo-board [--listen HOST:PORT] [--site DIR] [--database sqlite:PATH] [--rate N] [--pace PERCENT]\n"
    "A high-score board for Ruvo that plays every game it lists again from its replay.\n"
    "\n"
    "  --listen HOST:PORT   where to answer (default 127.0.0.1:8088; port 0: any free one)\n"
    "  --site DIR           the game's page, built, served at / beside the board\n"
    "  --database ADDRESS   sqlite:PATH (default sqlite:$XDG_DATA_HOME/Tolp/Ruvo/board.sqlite)\n"
    "  --rate N             starts and submissions an address may ask for a minute (default 30, 0: no limit)\n"
    "  --pace PERCENT       how much of its ticks' own time a game must have taken since its start was given\n"
    "                       (default 100; 0 takes games played faster than real time, as from a script)\n"
    "  --help               this text\n"
    "\n"
    "The board's page is /board; its API is under /api/v1 (docs/board.md).\n";

namespace {

template <typename Number> bool ParseNumber(const std::string& text, Number& value)
{
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), value);
    return failed == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseListen(const std::string& text, BoardArgs& args)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    std::string host = text.substr(0, colon);
    // [::1]:8088
    if (host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    if (host.empty() || host.find_first_of("[] /") != std::string::npos)
        return false;
    args.host = host;
    return ParseNumber(text.substr(colon + 1), args.port);
}

} // namespace

std::string DefaultDatabase()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string folder = data != nullptr && data[0] == '/' ? data
                         : home != nullptr                 ? std::string(home) + "/.local/share"
                                                           : ".";
    return "sqlite:" + folder + "/Tolp/Ruvo/board.sqlite";
}

std::optional<BoardArgs> ParseBoardArgs(const std::vector<std::string>& args, std::string& error)
{
    BoardArgs out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out.help = true;
            continue;
        }
        const bool takesValue =
            arg == "--listen" || arg == "--site" || arg == "--database" || arg == "--rate" || arg == "--pace";
        if (!takesValue) {
            error = "unknown argument " + arg + " (see --help)";
            return std::nullopt;
        }
        if (i + 1 == args.size()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--listen" && !ParseListen(value, out)) {
            error = "--listen " + value + ": expected HOST:PORT, such as 127.0.0.1:8088";
            return std::nullopt;
        }
        if (arg == "--rate" && !ParseNumber(value, out.perMinute)) {
            error = "--rate " + value + ": expected a count a minute, 0 for no limit";
            return std::nullopt;
        }
        if (arg == "--pace" && (!ParseNumber(value, out.pacePercent) || out.pacePercent > 100)) {
            error = "--pace " + value + ": expected a percentage from 0 to 100";
            return std::nullopt;
        }
        if (arg == "--site")
            out.site = value;
        if (arg == "--database")
            out.database = value;
    }
    if (out.database.empty())
        out.database = DefaultDatabase();
    return out;
}

} // namespace ruvo::board
