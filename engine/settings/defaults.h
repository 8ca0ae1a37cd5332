// The options' defaults and the game's fixed limits, and the saved settings
// read when the window is created.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

// The game's part: the options' defaults and the fixed limits, for a field
// of kFieldWidth x kFieldHeight.
void GameDefaults(Game& game);
// The window's: the game's defaults, then the saved settings.
int InitDefaults(GameRecord& record);

} // namespace ruvo
