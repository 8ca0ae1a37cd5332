// The replay file, NAME.ruvo-replay: a small text that people can read and
// diff. Its first line names the format and its version; header lines give
// the version of the game that recorded it, the edition, the date, the
// options and the rest of the start state; the commands follow in the
// command script's syntax (app/command_script.h), and the last line gives
// the result. docs/replays.md describes it line by line.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/replay_state.h"

namespace ruvo {

// Format 2 adds the optional header lines: a daily challenge's day after
// the date, a board's token after the program values. A replay without them
// is written as format 1, which every reader takes.
constexpr int kReplayFormat = 2;
constexpr std::string_view kReplayExtension = ".ruvo-replay";

// The largest replay that any reader takes, in bytes, checked before a file,
// a link or a request is read whole. A ten-minute game is under 20 KB: the
// limit leaves room for games of many hours, and refuses a text that would
// only cost memory and time.
constexpr std::size_t kReplayMaxBytes = std::size_t{1} << 20;
// The longest game a replay holds, in ticks: 22 hours at the normal pace of
// 80 ms a tick, which no real game reaches. The recorder keeps no longer
// game, the reader refuses one, and so playing a replay again stops there.
constexpr std::uint32_t kReplayMaxTicks = 1'000'000;
// A line of dives names at most this many gaps after its first dive, as the
// writer writes them.
constexpr std::size_t kReplayGapsPerLine = 16;
// The longest name the name dialog keeps, in bytes.
constexpr std::size_t kReplayNameBytes = 31;

// A board's token: this many lowercase hexadecimal digits.
constexpr std::size_t kReplayTokenChars = 32;

// The one-line refusal of a text or file of that many bytes, above the limit.
std::string ReplayTooLarge(std::uint64_t bytes);

std::string WriteReplay(const Replay& replay);

// Reads a replay. A text that is not one, or is truncated, malformed, out
// of range, larger than kReplayMaxBytes or of a newer format, gives nothing
// and a one-line error that says what is wrong and where. A byte-order mark
// before the first line and CR LF line ends read as plain UTF-8 does.
std::optional<Replay> ReadReplay(std::string_view text, std::string& error);

// A start file, as a board gives one: a replay's header lines up to the
// program values and the token, with no command or result. The same reader
// takes a whole replay, read whole, as the start it gives.
std::optional<Replay> ReadReplayStart(std::string_view text, std::string& error);
// The header lines of a start file for the start in replay.
std::string WriteReplayStart(const Replay& replay);

} // namespace ruvo
