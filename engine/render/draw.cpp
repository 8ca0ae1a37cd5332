// The drawing primitives: fills, the composed frame, sprites on the stage.
// SPDX-License-Identifier: MIT
#include "render/draw.h"

namespace ruvo {

int FillSky(DrawContext& target, std::uint32_t brush, std::int32_t x, std::int32_t y, std::int32_t width,
            std::int32_t height)
{
    if (target.bitmap == nullptr)
        return 1;
    BlockTransfer(*target.bitmap, x, y, width, height, nullptr, 0, 0, RasterOp::PatCopy, PixelFromColorRef(brush));
    return 1;
}

int ComposeFrame(DrawContext& frame, const DrawContext& stage, std::int32_t sourceX, std::int32_t sourceY)
{
    if (frame.bitmap == nullptr || stage.bitmap == nullptr)
        return 1;
    BlockTransfer(*frame.bitmap, 0, 0, frame.bitmap->Width(), frame.bitmap->Height(), stage.bitmap, sourceX, sourceY,
                  RasterOp::SrcCopy);
    return 1;
}

int DrawSprite(DrawContext& target, DrawContext& spriteDC, SpritePair& pair, std::int32_t x, std::int32_t y,
               std::int32_t size)
{
    if (target.bitmap == nullptr || !pair.image || !pair.mask)
        return 1;
    // The mask blackens the shape, then the image is XORed onto the black.
    spriteDC.bitmap = pair.mask.get();
    BlockTransfer(*target.bitmap, x, y, size, size, pair.mask.get(), 0, 0, RasterOp::SrcAnd);
    spriteDC.bitmap = pair.image.get();
    BlockTransfer(*target.bitmap, x, y, size, size, pair.image.get(), 0, 0, RasterOp::SrcInvert);
    return 1;
}

int DrawSilhouette(DrawContext& target, DrawContext& spriteDC, SpritePair& pair, std::int32_t x, std::int32_t y,
                   std::int32_t size)
{
    if (target.bitmap == nullptr || !pair.mask)
        return 1;
    Surface& mask = *pair.mask;
    spriteDC.bitmap = &mask;
    BlockTransfer(*target.bitmap, x, y, size, size, &mask, 0, 0, RasterOp::SrcAnd);
    BlockTransfer(mask, 0, 0, size, size, nullptr, 0, 0, RasterOp::DstInvert);
    BlockTransfer(*target.bitmap, x, y, size, size, &mask, 0, 0, RasterOp::SrcPaint);
    BlockTransfer(mask, 0, 0, size, size, nullptr, 0, 0, RasterOp::DstInvert);
    return 1;
}

} // namespace ruvo
