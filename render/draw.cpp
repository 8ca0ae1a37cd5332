#include "render/draw.h"

namespace ruvo {

int FillSky(GameRecord& record, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    if (record.stageDC.bitmap == nullptr)
        return 1;
    BlockTransfer(*record.stageDC.bitmap, x, y, width, height, nullptr, 0, 0, RasterOp::PatCopy,
                  PixelFromColorRef(record.skyBrush));
    return 1;
}

int ComposeFrame(GameRecord& record, std::int32_t sourceX, std::int32_t sourceY)
{
    if (record.frameDC.bitmap == nullptr || record.stageDC.bitmap == nullptr)
        return 1;
    BlockTransfer(*record.frameDC.bitmap, 0, 0, record.fieldWidth, record.fieldHeight, record.stageDC.bitmap,
                  sourceX, sourceY, RasterOp::SrcCopy);
    return 1;
}

int DrawSprite(GameRecord& record, DrawContext& target, SpritePair& pair, std::int32_t x, std::int32_t y,
               std::int32_t size)
{
    if (target.bitmap == nullptr || !pair.image || !pair.mask)
        return 1;
    // The mask blackens the shape, then the image is XORed onto the black.
    record.spriteDC.bitmap = pair.mask.get();
    BlockTransfer(*target.bitmap, x, y, size, size, pair.mask.get(), 0, 0, RasterOp::SrcAnd);
    record.spriteDC.bitmap = pair.image.get();
    BlockTransfer(*target.bitmap, x, y, size, size, pair.image.get(), 0, 0, RasterOp::SrcInvert);
    return 1;
}

int DrawSilhouette(GameRecord& record, DrawContext& target, SpritePair& pair, std::int32_t x, std::int32_t y,
                   std::int32_t size)
{
    if (target.bitmap == nullptr || !pair.mask)
        return 1;
    Surface& mask = *pair.mask;
    record.spriteDC.bitmap = &mask;
    BlockTransfer(*target.bitmap, x, y, size, size, &mask, 0, 0, RasterOp::SrcAnd);
    BlockTransfer(mask, 0, 0, size, size, nullptr, 0, 0, RasterOp::DstInvert);
    BlockTransfer(*target.bitmap, x, y, size, size, &mask, 0, 0, RasterOp::SrcPaint);
    BlockTransfer(mask, 0, 0, size, size, nullptr, 0, 0, RasterOp::DstInvert);
    return 1;
}

int PaintWindow(GameRecord& record, PaintTarget& paint)
{
    if (record.frameBitmap)
        paint.CopyFrom(*record.frameBitmap, paint.InvalidRect());
    return 1;
}

} // namespace ruvo
