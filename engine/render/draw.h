// The drawing primitives: a brush fill, the frame composed from the stage,
// masked sprites and white silhouettes, and the repaint.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "render/draw_context.h"
#include "render/sprite.h"
#include "render/surface.h"

namespace ruvo {

struct Rect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Where a repaint lands: the window's invalid rectangle and a way to copy
// pixels of the frame buffer to it.
class PaintTarget {
  public:
    virtual ~PaintTarget() = default;
    virtual Rect InvalidRect() const = 0;
    virtual void CopyFrom(const Surface& source, Rect area) = 0;
};

// Paints the block with a solid brush (a COLORREF).
int FillSky(DrawContext& target, std::uint32_t brush, std::int32_t x, std::int32_t y, std::int32_t width,
            std::int32_t height);
// Copies the stage from (sourceX, sourceY) over the whole frame.
int ComposeFrame(DrawContext& frame, const DrawContext& stage, std::int32_t sourceX, std::int32_t sourceY);
// The pair's bitmaps are selected into spriteDC in turn, as each is drawn from.
int DrawSprite(DrawContext& target, DrawContext& spriteDC, SpritePair& pair, std::int32_t x, std::int32_t y,
               std::int32_t size);
// The figure in white; the mask is inverted and back, so it ends as it began.
int DrawSilhouette(DrawContext& target, DrawContext& spriteDC, SpritePair& pair, std::int32_t x, std::int32_t y,
                   std::int32_t size);

} // namespace ruvo
