// The off-screen surfaces, made at start and released at the end.
// SPDX-License-Identifier: MIT
#include "game/surfaces.h"

#include "game/grid.h"

namespace ruvo {

int CreateSurfaces(GameRecord& record)
{
    record.spriteDC = DrawContext{};
    record.frameDC = DrawContext{};
    record.frameBitmap = std::make_unique<Surface>(record.fieldWidth, record.fieldHeight);
    record.frameDC.bitmap = record.frameBitmap.get();
    record.stageDC = DrawContext{};
    record.stageBitmap = std::make_unique<Surface>(record.stageWidth, record.stageHeight);
    record.stageDC.bitmap = record.stageBitmap.get();
    record.bossWork.image = std::make_unique<Surface>(64, 64);
    record.bossWork.mask = std::make_unique<Surface>(64, 64);
    record.skyBrush = kSkyColorRef;
    AllocGrid(record);
    return 1;
}

int DestroySurfaces(GameRecord& record)
{
    record.stageDC = DrawContext{};
    record.frameDC = DrawContext{};
    record.spriteDC = DrawContext{};
    record.stageBitmap.reset();
    record.frameBitmap.reset();
    FreeSpritePair(record.bossWork);
    record.skyBrush = 0;
    FreeGrid(record);
    return 1;
}

} // namespace ruvo
