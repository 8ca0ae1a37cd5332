// Racing a replay's ghost: a new game of the player's, started from the
// replay's start (its program values and options; the table and switches
// stay the player's), with the replay's game run beside it tick for tick.
// Its jumper shows see-through in the field for as long as both games'
// scenery is the same, never in the frame the game keeps; the caption
// says the lead ("RACE vs Bea +150"), and the end says who won and by how
// much. The player's game is an ordinary one: recorded, kept, entered in
// the table, and its replay verifies.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "record/record.h"
#include "replay/daily.h"

namespace ruvo {

// Starts a race against the replay in the text from the title screen.
// Returns an empty text, or the one-line error of a text that is no
// replay, or of no title screen. While a dialog is open the race waits
// until the last one has closed.
std::string RaceReplay(GameRecord& record, std::string_view text);
void StartRace(GameRecord& record, Replay replay);

// After each tick of the window's game: the ghost's tick beside it, and
// the lead in the caption.
void StepRace(GameRecord& record);
// Once the player's game is over and kept: the race's end told, its
// caption gone.
void FinishRace(GameRecord& record);
// After the window's game is drawn: the ghost over it, where it shows.
void DrawRace(GameRecord& record);

// The caption while a race runs: the rival and the lead, or empty.
std::string RaceCaption(const GameRecord& record);

// Once a game from another start (a race, a daily or a board's game) is
// over: the player's own options back, before the title returns.
void RestoreOwnOptions(GameRecord& record);

// The daily challenge from the title: a new game from the day's start
// (replay/daily.h), recorded as that day's.
void StartDailyGame(GameRecord& record, const Day& day);

// A game for a board from the title: a new game from the start file the
// board gave (its program values and options; the table and switches stay
// the player's), recorded with the board's token, and that day's challenge
// where the start names one.
void StartBoardGame(GameRecord& record, const ReplayStart& start);

} // namespace ruvo
