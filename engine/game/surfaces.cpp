// The off-screen surfaces, made at start and released at the end.
// SPDX-License-Identifier: MIT
#include "game/surfaces.h"

#include "game/grid.h"

namespace ruvo {

int CreateSurfaces(Drawing& drawing, std::int32_t fieldWidth, std::int32_t fieldHeight)
{
    drawing.fieldWidth = fieldWidth;
    drawing.fieldHeight = fieldHeight;
    drawing.spriteDC = DrawContext{};
    drawing.frameDC = DrawContext{};
    drawing.frameBitmap = std::make_unique<Surface>(fieldWidth, fieldHeight);
    drawing.frameDC.bitmap = drawing.frameBitmap.get();
    drawing.stageDC = DrawContext{};
    drawing.stageBitmap = std::make_unique<Surface>(fieldWidth + 64, fieldHeight + 64);
    drawing.stageDC.bitmap = drawing.stageBitmap.get();
    drawing.bossWork.image = std::make_unique<Surface>(64, 64);
    drawing.bossWork.mask = std::make_unique<Surface>(64, 64);
    drawing.skyBrush = kSkyColorRef;
    drawing.shown = {};
    return 1;
}

void DestroySurfaces(Drawing& drawing)
{
    drawing.stageDC = DrawContext{};
    drawing.frameDC = DrawContext{};
    drawing.spriteDC = DrawContext{};
    drawing.stageBitmap.reset();
    drawing.frameBitmap.reset();
    FreeSpritePair(drawing.bossWork);
    drawing.skyBrush = 0;
    drawing.shown = {};
}

int CreateSurfaces(GameRecord& record)
{
    Game& game = record.game;
    game.stageWidth = game.fieldWidth + 64;
    game.stageHeight = game.fieldHeight + 64;
    CreateSurfaces(record.drawing, game.fieldWidth, game.fieldHeight);
    AllocGrid(game);
    return 1;
}

int DestroySurfaces(GameRecord& record)
{
    DestroySurfaces(record.drawing);
    FreeGrid(record.game);
    return 1;
}

} // namespace ruvo
