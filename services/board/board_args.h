// ruvo-board's command line.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ruvo::board {

struct BoardArgs {
    std::string host = "127.0.0.1";
    std::uint16_t port = 8088; // 0: any free port, which is printed
    std::string site;          // the page's built site, served at /
    std::string database;      // sqlite:PATH
    std::uint32_t perMinute = 30;
    // The share of its own pace, in percent, that a game must have taken
    // between its start and its submission; 0 takes games played faster.
    std::uint32_t pacePercent = 100;
    bool help = false;
};

extern const char* const kBoardUsage;

// The arguments after the program's name, or nullopt and a one-line error.
std::optional<BoardArgs> ParseBoardArgs(const std::vector<std::string>& args, std::string& error);
// sqlite: and the board's file in the user's data folder.
std::string DefaultDatabase();

} // namespace ruvo::board
