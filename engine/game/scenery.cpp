// The scrolling landscape: its columns, platforms and the sun.
// SPDX-License-Identifier: MIT
#include "game/scenery.h"

#include "game/grid.h"
#include "game/wrapping.h"

namespace ruvo {
namespace {

// A new column scrolls in at the stage's right: sky, ground, and a platform
// when the roll or the longest gap calls for one.
void MakeColumn(Game& game, std::uint32_t theme)
{
    const std::int32_t x = game.fieldWidth;
    const std::int32_t y = game.fieldHeight - 32;
    game.scrollX = 0;
    // The platform roll is made even when the gap forces a platform.
    const auto r = static_cast<std::uint32_t>(NextRandom(game));
    const bool platform = r % 100u < game.optGameLevel || game.gapRun >= game.maxGap;
    if (platform) {
        game.gapRun = 0;
        FillCells(game, x / 8, y / 8, 4, 2, CellPlatform);
    } else {
        game.gapRun = WrapAdd(game.gapRun, 1);
    }
    FillCells(game, x / 8, y / 8 + 3, 4, 1, CellFloor);
    AddColumn(game.picture, theme, platform);
}

} // namespace

int ScrollStage(Game& game)
{
    const std::uint32_t theme = RoundTheme(game.round);
    if (game.scrollX >= 32)
        MakeColumn(game, theme);
    // A cloud is rolled for, and placed, whether or not anything is drawn.
    if (NextRandom(game) % 100 < 10)
        AddCloud(game.picture, NextRandom(game) % (game.fieldHeight / 2 + 1));
    ShiftGrid(game, 1);
    Compose(game.picture, game.scrollX);
    game.scrollX = WrapAdd(game.scrollX, 8);
    return 1;
}

int PrefillStage(Game& game)
{
    game.scrollX = 32;
    const std::int32_t n = (game.fieldWidth / 32) * 4;
    const auto k = static_cast<std::int32_t>(n * 0.6);
    const std::uint32_t keptLevel = game.optGameLevel;
    game.optGameLevel = 100;
    for (std::int32_t i = 0; i < k; ++i)
        ScrollStage(game);
    game.optGameLevel = keptLevel;
    for (std::int32_t i = 0; i < n - k + 1; ++i)
        ScrollStage(game);
    return 1;
}

int AnimateSun(Game& game)
{
    std::int32_t& sunFrame = game.program.sunFrame;
    Mark sun;
    sun.kind = MarkKind::Sun;
    sun.a = static_cast<std::uint8_t>(sunFrame);
    AddMark(game.picture, sun);
    sunFrame = (sunFrame + 1) % 3;
    return 1;
}

} // namespace ruvo
