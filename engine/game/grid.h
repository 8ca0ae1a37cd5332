// The collision grid: one byte per 8 x 8 cell of the stage, in field
// coordinates, row by row.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "game/wrapping.h"
#include "record/record.h"

namespace ruvo {

std::uint8_t* AllocGrid(GameRecord& record);
int FreeGrid(GameRecord& record);
int FillCells(GameRecord& record, std::int32_t column, std::int32_t row, std::int32_t width, std::int32_t height,
              std::uint8_t value);
int ShiftGrid(GameRecord& record, std::int32_t n);

// A cell's value; anything outside the grid reads as empty.
std::uint8_t GridCell(const GameRecord& record, std::int32_t column, std::int32_t row);

// A cell's top-left pixel.
constexpr std::int32_t PixelOf(std::int32_t cell)
{
    return WrapMultiply(cell, 8);
}

} // namespace ruvo
