// What the game asks of its window, through the window's own interface: a
// repaint, the timer at the record's period, and the menu's state.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

// The whole client area is repainted from the frame buffer, without erasing.
void InvalidateWindow(GameRecord& record);
// Re-arms timer 1 at tickInterval.
int RestartTimer(GameRecord& record);
// Sound and Music checked as switched; Start on the title only, Pause off
// it, Option on the title when the settings allow it.
int UpdateMenu(GameRecord& record);

} // namespace ruvo
