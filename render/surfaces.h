#pragma once

#include "game/record.h"

namespace ruvo {

// The off-screen surfaces (frame buffer, stage, the boss's work pair), the
// sky brush and the collision grid: created with the window, gone with it.
int CreateSurfaces(GameRecord& record);
int DestroySurfaces(GameRecord& record);

} // namespace ruvo
