// A replay played again: a game of its own, set up as the window's creation
// sets one up, put into the replay's start state and started, then given the
// replay's commands tick by tick. The same steps verify a replay (without a
// machine, on any thread) and show one in the game's window.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

// Sets play up and gives the Start command; the game's first tick is next.
// Play keeps the replay's commands, moved, not copied. The Start's requests
// wait in play.game for the session that serves them.
void BeginReplayPlay(ReplayPlay& play, Replay replay);

// The commands due before the next tick, then the tick, and at a game over
// the name the replay typed. False once the game has gone back to the
// title, or has run the replay's number of ticks. The game's requests wait
// in play.game for the caller to serve or drop. With a shell, its Sound and
// Music switches take the replay's commands, unless play.playerSwitches.
bool StepReplayPlay(ReplayPlay& play, GameRecord* shell = nullptr);

// What the recorder and the player share. Before a tick: what the result
// needs should the tick end the game.
void NoteBeforeTick(const Game& game, ReplayResult& result, bool& entersTable);
// After the tick numbered tick: true when it took the game back to the
// title, with the result complete.
bool GameEndedIn(const Game& game, std::uint32_t tick, ReplayResult& result, bool entersTable);

// The start state as the game and its shell's switches hold it, and put
// back into a game (the switches are the shell's to take).
ReplayStart CaptureStart(const Game& game, std::int32_t soundOn, std::int32_t musicOn);
void ApplyStart(Game& game, const ReplayStart& start);

} // namespace ruvo
