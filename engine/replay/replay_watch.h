// Watching a replay in the game's window. The live game waits on its title
// screen, untouched: the replay is a game of its own, drawn with the
// window's drawing while it plays, and the live game's picture is drawn
// again when it ends. The replay
// runs at the tick period its game asks for (the hurry-up's included), times
// the speed; the platform shows the caption the engine gives it. While it
// plays, the window procedure hands every message to WatchMessage first:
//   timer        the replay's ticks (none while it is paused)
//   click, space nothing: the replay plays by itself
//   + or =, -    faster, slower: 1x, 2x, 4x, 8x;  Esc: the replay ends
//   Pause (F3)   pauses and resumes the replay
//   Sound, Music switch as ever; the replay's effects and music follow them
//   Start, Option, Exit, closing   end the replay first, then do as ever
//   High Score, Replays..., Help, About   as ever, the replay going on behind
// It ends by itself when its game does.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "record/record.h"

namespace ruvo {

// Starts the replay in the text on the title screen (ending one that plays).
// Returns an empty text, or a one-line error: the text is no replay the game
// can play, or no title screen waits. While a dialog is open the replay
// waits: it starts once the last dialog has closed, if the title still shows.
std::string WatchReplay(GameRecord& record, std::string_view text);
// Watching or racing (replay/replay_race.h): the text read, and the replay
// started, or kept until the open dialogs have closed.
std::string AskForReplay(GameRecord& record, std::string_view text, bool race);
// The replay that waited for the dialogs, once they have all closed; the
// window procedure calls it after every message.
void StartPendingReplay(GameRecord& record);
// True when the message was the replay's to handle.
bool WatchMessage(GameRecord& record, const Message& message);
void EndWatch(GameRecord& record);
// The title shows in a window with its frame: a replay, or a game from
// another start, may begin.
bool OnTitle(const GameRecord& record);

// The caption: the game's title, and while a replay plays "REPLAY" with its
// speed and whether it is paused.
std::string WatchCaption(const GameRecord& record);

// The live timer's period for a tick period at a speed, and how many ticks
// each expiry runs: several where the period would fall below the shortest
// timer.
struct WatchPace {
    std::int32_t periodMs = 0;
    std::int32_t ticks = 1;
};
WatchPace PaceFor(std::int32_t periodMs, std::int32_t speed);

} // namespace ruvo
