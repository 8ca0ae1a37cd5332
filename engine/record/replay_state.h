// Replays: a game kept as where it started from and what the player did, tick
// by tick, so that it can be played again exactly. The record holds what is
// being recorded of the game under way and, while the player watches one, the
// replay that plays in its window (engine/replay).
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "record/game.h"
#include "record/program_state.h"

namespace ruvo {

enum class ReplayAction : std::uint8_t { Dive, Pause, Sound, Music, Name };

struct ReplayCommand {
    std::uint32_t tick = 0; // given before the game's tick of this number; 1 is the first after Start
    ReplayAction action = ReplayAction::Dive;
    std::string name; // what Name types into the name dialog

    bool operator==(const ReplayCommand&) const = default;
};

// Everything from before the Start that a game depends on. The title's
// scenery and grid are not among them: the new round's fresh scenery covers
// all of the field and of the grid that the game reads.
struct ReplayStart {
    ProgramState program;
    // The eight options in the Option dialog's order; optDamage as its bits.
    std::array<std::uint32_t, 8> options{};
    // The table's scores, best first: the status line shows the first, and
    // whether the game enters the table (and its music) depends on the last.
    std::array<std::uint32_t, 5> scores{};
    std::int32_t soundOn = 0;
    std::int32_t musicOn = 0;
    // A daily challenge's day, "2026-12-09": the game started from that day's
    // start (replay/daily.h). Empty for any other game.
    std::string challenge;
    // A board's token (32 lowercase hex digits): the game started from the
    // start that board gave with it (replay/replay_race.h). Empty for any
    // other game.
    std::string token;

    bool operator==(const ReplayStart&) const = default;
};

// What a game came to.
struct ReplayResult {
    std::uint32_t score = 0;
    std::uint32_t round = 0; // the round it ended in
    std::uint32_t ticks = 0;
    std::string name; // typed into the name dialog; empty when the game did not enter the table

    bool operator==(const ReplayResult&) const = default;
};

// The game under way as it is recorded, from the Start command to the end of
// the tick that goes back to the title.
struct ReplayLog {
    bool recording = false;
    // Ticks that arrive while a tick runs (behind the name dialog it opens)
    // are not the game's own.
    std::int32_t tickDepth = 0;
    bool entersTable = false;
    ReplayStart start;
    std::vector<ReplayCommand> commands;
    ReplayResult result; // so far
};

// A whole replay: where it started, what the player did and what it came to,
// with the game that made it (app/replay_file.h reads and writes it).
struct Replay {
    std::string game;    // the version of the game that recorded it
    std::string edition; // desktop, windows or web
    std::string date;    // when the game ended, in UTC: 2026-03-01T14:05:09Z
    ReplayStart start;
    std::vector<ReplayCommand> commands;
    ReplayResult result;

    bool operator==(const Replay&) const = default;
};

// A replay played again: a game of its own, given the replay's commands
// tick by tick.
struct ReplayPlay {
    Game game;
    std::vector<ReplayCommand> commands;
    std::size_t next = 0;
    std::uint32_t lastTick = 0; // the replay's own length: no tick runs past it
    std::string typedName;      // what the next name dialog is answered with
    bool entersTable = false;
    bool ended = false;
    // Watching: the Sound and Music switches are the player's, not the replay's.
    bool playerSwitches = false;
    ReplayResult result; // so far
};

// A replay watched in the game's window while the live game waits on its
// title screen: the window's drawing shows the replay's game instead.
struct ReplayWatch {
    ReplayPlay play;
    std::int32_t speed = 1;    // 1, 2, 4 or 8
    std::int32_t periodMs = 0; // the tick period the replay's game asks for
    bool paused = false;
    std::int32_t ticksPerTimer = 1; // several at high speed, where the timer cannot go faster
};

// A race against a replay's ghost: the player's game, the window's own,
// started from the replay's start, with the replay's game run beside it tick
// for tick and its jumper shown in the field while their scenery is the same.
struct ReplayRace {
    ReplayPlay ghost;
    std::string rival;            // the replay's player, as its name gives them
    std::uint32_t rivalScore = 0; // what the replay's game came to
    std::int64_t lead = 0;        // the player's score less the ghost's, as last shown
    std::string caption;          // as last shown
};

// A replay asked for while a dialog was open, to watch or to race.
struct PendingReplay {
    Replay replay;
    bool race = false;
    // A board's start (replay/board_client.h): a game of the player's from it.
    bool board = false;
};

} // namespace ruvo
