// The off-screen surfaces (frame buffer, stage, the boss's work pair), the
// sky brush and the collision grid: created with the window, gone with it.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/record.h"

namespace ruvo {

constexpr std::uint32_t kSkyColorRef = 0x00FFFF00; // aqua

int CreateSurfaces(GameRecord& record);
int DestroySurfaces(GameRecord& record);

} // namespace ruvo
