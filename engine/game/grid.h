// The collision grid: one byte per 8 x 8 cell of the stage, in field
// coordinates, row by row.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "game/wrapping.h"
#include "record/game.h"

namespace ruvo {

// The grid's size from the stage's, all cells empty.
std::uint8_t* AllocGrid(Game& game);
int FreeGrid(Game& game);
int FillCells(Game& game, std::int32_t column, std::int32_t row, std::int32_t width, std::int32_t height,
              std::uint8_t value);
int ShiftGrid(Game& game, std::int32_t n);

// A cell's value; anything outside the grid reads as empty.
std::uint8_t GridCell(const Game& game, std::int32_t column, std::int32_t row);

// A cell's top-left pixel.
constexpr std::int32_t PixelOf(std::int32_t cell)
{
    return WrapMultiply(cell, 8);
}

} // namespace ruvo
