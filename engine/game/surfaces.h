// The drawing's off-screen surfaces and the game's grid, made when the window
// is created and released when it closes.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/record.h"

namespace ruvo {

constexpr std::uint32_t kSkyColorRef = 0x00FFFF00; // aqua

// The frame and the stage at the field's size, the boss's work pair; the
// drawing draws the next game it is given whole.
int CreateSurfaces(Drawing& drawing, std::int32_t fieldWidth, std::int32_t fieldHeight);
void DestroySurfaces(Drawing& drawing);

// The window's: the record's drawing and its game's grid.
int CreateSurfaces(GameRecord& record);
int DestroySurfaces(GameRecord& record);

} // namespace ruvo
