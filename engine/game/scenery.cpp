// The scrolling landscape: its columns, platforms and the sun.
// SPDX-License-Identifier: MIT
#include "game/scenery.h"

#include "game/grid.h"
#include "game/wrapping.h"
#include "render/draw.h"

namespace ruvo {
namespace {

std::int32_t sunFrame = 0;

void MakeColumn(GameRecord& record, std::uint32_t theme)
{
    const std::int32_t x = record.fieldWidth;
    const std::int32_t y = record.fieldHeight - 32;
    record.scrollX = 0;
    if (record.stageBitmap)
        BlockTransfer(*record.stageBitmap, 0, 0, record.fieldWidth, record.fieldHeight, record.stageBitmap.get(), 32, 0,
                      RasterOp::SrcCopy);
    FillSky(record.stageDC, record.skyBrush, x, 0, 32, record.fieldHeight);

    // The platform roll is made even when the gap forces a platform.
    const auto r = static_cast<std::uint32_t>(NextRandom());
    if (r % 100u < record.optGameLevel || record.gapRun >= record.maxGap) {
        record.gapRun = 0;
        FillCells(record, x / 8, y / 8, 4, 2, CellPlatform);
        DrawSprite(record.stageDC, record.spriteDC, record.platformSprites[theme], x, y, 32);
    } else {
        record.gapRun = WrapAdd(record.gapRun, 1);
    }
    FillCells(record, x / 8, y / 8 + 3, 4, 1, CellFloor);
    DrawSprite(record.stageDC, record.spriteDC, record.groundSprites[theme], x, y, 32);
}

} // namespace

int ScrollStage(GameRecord& record)
{
    const std::uint32_t theme = RoundTheme(record.round);
    if (record.scrollX >= 32)
        MakeColumn(record, theme);
    if (NextRandom() % 100 < 10) {
        const std::int32_t y = NextRandom() % (record.fieldHeight / 2 + 1);
        DrawSprite(record.stageDC, record.spriteDC, record.cloudSprite, record.fieldWidth, y, 32);
    }
    ShiftGrid(record, 1);
    ComposeFrame(record.frameDC, record.stageDC, record.scrollX, 0);
    record.scrollX = WrapAdd(record.scrollX, 8);
    return 1;
}

int PrefillStage(GameRecord& record)
{
    record.scrollX = 32;
    const std::int32_t n = (record.fieldWidth / 32) * 4;
    const auto k = static_cast<std::int32_t>(n * 0.6);
    const std::uint32_t keptLevel = record.optGameLevel;
    record.optGameLevel = 100;
    for (std::int32_t i = 0; i < k; ++i)
        ScrollStage(record);
    record.optGameLevel = keptLevel;
    for (std::int32_t i = 0; i < n - k + 1; ++i)
        ScrollStage(record);
    return 1;
}

int AnimateSun(GameRecord& record)
{
    DrawSprite(record.frameDC, record.spriteDC, record.sunSprites[static_cast<std::size_t>(sunFrame)], 320, 16, 32);
    sunFrame = (sunFrame + 1) % 3;
    return 1;
}

} // namespace ruvo
