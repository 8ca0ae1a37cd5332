// The replay file, NAME.ruvo-replay: a small text that people can read and
// diff. Its first line names the format and its version; header lines give
// the version of the game that recorded it, the edition, the date, the
// options and the rest of the start state; the commands follow in the
// command script's syntax (app/command_script.h), and the last line gives
// the result. docs/replays.md describes it line by line.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/replay_state.h"

namespace ruvo {

constexpr int kReplayFormat = 1;
constexpr std::string_view kReplayExtension = ".ruvo-replay";

// The options as ruvo-sim's --option and the replay file name them, in the
// Option dialog's order.
constexpr std::array<const char*, 8> kOptionNames = {"optRound", "optGameLevel",  "optBossLevel",  "optDistance",
                                                     "optSpeed", "optHarryLevel", "optHarrySpeed", "optDamage"};

struct Replay {
    std::string game;    // the version of the game that recorded it
    std::string edition; // desktop, windows or web
    std::string date;    // when the game ended, in UTC: 2026-03-01T14:05:09Z
    ReplayStart start;
    std::vector<ReplayCommand> commands;
    ReplayResult result;

    bool operator==(const Replay&) const = default;
};

std::string WriteReplay(const Replay& replay);

// Reads a replay. A text that is not one, or is truncated, malformed or of a
// newer format, gives nothing and a one-line error that says what is wrong
// and where.
std::optional<Replay> ReadReplay(std::string_view text, std::string& error);

} // namespace ruvo
