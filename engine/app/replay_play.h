// A replay played again: a game record of its own, set up as start-up and
// the window's creation set the game's up, put into the replay's start state
// and started, then given the replay's commands tick by tick. The same steps
// verify a replay (ruvo-sim --verify) and show one in the game's window.
// SPDX-License-Identifier: MIT
#pragma once

#include "app/replay_file.h"
#include "record/record.h"

namespace ruvo {

struct ReplaySetup {
    Host host; // its text, wave player and music library; the rest is the replay's own
    const ResourceLibrary* resources = nullptr;
    GameWindow* window = nullptr;
    // Watching: the live game, whose music tracks and Sound and Music
    // switches the replay takes instead of its own.
    const GameRecord* live = nullptr;
};

// Sets play up and gives the Start command; the game's first tick is next.
// Play keeps the replay's commands, moved, not copied.
void BeginReplayPlay(ReplayPlay& play, Replay replay, const ReplaySetup& setup);
// The commands due before the next tick, then the tick. False once the game
// has gone back to the title, or has run the replay's number of ticks.
bool StepReplayPlay(ReplayPlay& play);
// Frees what the record holds.
void EndReplayPlay(ReplayPlay& play);

// What the recorder and the player share. Before a tick: what the result
// needs should the tick end the game.
void NoteBeforeTick(const GameRecord& record, ReplayResult& result, bool& entersTable);
// After the tick numbered tick: true when it took the game back to the
// title, with the result complete.
bool GameEndedIn(const GameRecord& record, std::uint32_t tick, ReplayResult& result, bool entersTable);

// The start state as the record holds it, and put back into a record.
ReplayStart CaptureStart(const GameRecord& record);
void ApplyStart(GameRecord& record, const ReplayStart& start);

} // namespace ruvo
