// The shell's requests of its window: the timer, the menu and the repaint,
// and the game's requests served.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/record.h"

namespace ruvo {

// The whole client area is repainted from the frame buffer, without erasing.
void InvalidateWindow(GameRecord& record);
// Re-arms timer 1 at the record's game's tickInterval.
int RestartTimer(GameRecord& record);
// Sound and Music checked as switched; Start and Replays on the title only,
// Pause off it (and on it while a replay plays), Option on the title when
// the settings allow it.
int UpdateMenu(GameRecord& record);

// The Sound and Music commands: the switches turned, the menu's check marks
// with them; music turned on plays the track the game heard has selected.
void SwitchSound(GameRecord& record);
void SwitchMusic(GameRecord& record, const Game& heard);

// Serves what a game asked for, in order, and forgets it: its sounds and
// music as the record's switches allow, with the record's audio, and its
// timer, menu and repaints through the record's window. A replay watched in
// the window serves through the live record, but leaves the menu alone and
// paces the timer itself.
struct Serving {
    bool menu = true;
    bool timer = true;
};
void ServeRequests(GameRecord& record, Game& game, Serving serving = {});

} // namespace ruvo
