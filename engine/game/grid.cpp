// The collision grid: cells read, written and cleared.
// SPDX-License-Identifier: MIT
#include "game/grid.h"

#include <algorithm>
#include <cstring>

namespace ruvo {

std::uint8_t* AllocGrid(Game& game)
{
    game.gridCols = std::max(game.stageWidth / 8, 0);
    game.gridRows = std::max(game.stageHeight / 8, 0);
    // The grid has room for the stage of the one field size the game has.
    if (static_cast<std::size_t>(game.gridCols) * static_cast<std::size_t>(game.gridRows) > game.grid.size())
        game.gridCols = game.gridRows = 0;
    game.grid.fill(CellEmpty);
    return game.grid.data();
}

int FreeGrid(Game& game)
{
    if (game.gridCols == 0)
        return 0;
    game.gridCols = game.gridRows = 0;
    return 1;
}

int FillCells(Game& game, std::int32_t column, std::int32_t row, std::int32_t width, std::int32_t height,
              std::uint8_t value)
{
    // Every caller keeps inside the grid; the clamp only guards the memory.
    const std::int32_t c0 = std::max(column, 0), c1 = std::min(column + width, game.gridCols);
    const std::int32_t r0 = std::max(row, 0), r1 = std::min(row + height, game.gridRows);
    for (std::int32_t r = r0; r < r1; ++r)
        for (std::int32_t c = c0; c < c1; ++c)
            game.grid[static_cast<std::size_t>(r) * game.gridCols + c] = value;
    return 1;
}

int ShiftGrid(Game& game, std::int32_t n)
{
    if (game.gridCols == 0 || n <= 0)
        return 1;
    n = std::min(n, game.gridCols);
    for (std::int32_t r = 0; r < game.gridRows; ++r) {
        std::uint8_t* row = game.grid.data() + static_cast<std::size_t>(r) * game.gridCols;
        std::memmove(row, row + n, static_cast<std::size_t>(game.gridCols - n));
        std::memset(row + (game.gridCols - n), 0, static_cast<std::size_t>(n));
    }
    return 1;
}

std::uint8_t GridCell(const Game& game, std::int32_t column, std::int32_t row)
{
    if (column < 0 || row < 0 || column >= game.gridCols || row >= game.gridRows)
        return CellEmpty;
    return game.grid[static_cast<std::size_t>(row) * game.gridCols + column];
}

} // namespace ruvo
