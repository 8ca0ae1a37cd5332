// Every bitmap of the game, loaded once at start-up as image/mask pairs,
// together with the six sound resources.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

int LoadGraphics(GameRecord& record);
int FreeGraphics(GameRecord& record);

} // namespace ruvo
