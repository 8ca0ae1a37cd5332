// What changed in the frame since the field last showed it: a copy of what
// was shown, compared row by row. A scrolling landscape changes only part of
// the field, and every pixel not sent is zoom x zoom pixels less to draw.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "render/draw.h"
#include "render/surface.h"

namespace ruvo {

// A part of the field shown from another surface than the frame: a race's
// ghost, whose square of pixels (area, in the frame's places) shows over the
// frame without the frame being copied whole.
struct FieldPatch {
    const Surface* pixels = nullptr;
    Rect area{};
};

// Brings `shown` (the frame's size, rows `stride` pixels apart) up to date
// with the frame, and the patches over it, later ones on top, and returns the
// bands of rows that differed, in game pixels, top to bottom, each as wide as
// its changes. Where a patch was and is no more, the frame shows again.
std::vector<Rect> TakeChanges(const Surface& frame, Pixel* shown, std::size_t stride,
                              std::span<const FieldPatch> patches = {});

} // namespace ruvo
