// What changed in the frame since the field last showed it: a copy of what
// was shown, compared row by row. A scrolling landscape changes only part of
// the field, and every pixel not sent is zoom x zoom pixels less to draw.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <vector>

#include "render/draw.h"
#include "render/surface.h"

namespace ruvo {

// Brings `shown` (the frame's size, rows `stride` pixels apart) up to date
// with the frame and returns the bands of rows that differed, in game pixels,
// top to bottom, each as wide as its changes.
std::vector<Rect> TakeChanges(const Surface& frame, Pixel* shown, std::size_t stride);

} // namespace ruvo
