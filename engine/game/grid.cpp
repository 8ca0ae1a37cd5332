// The collision grid: cells read, written and cleared.
// SPDX-License-Identifier: MIT
#include "game/grid.h"

#include <algorithm>
#include <cstring>

namespace ruvo {

std::uint8_t* AllocGrid(GameRecord& record)
{
    record.gridCols = record.stageWidth / 8;
    record.gridRows = record.stageHeight / 8;
    const auto size =
        static_cast<std::size_t>(std::max(record.gridCols, 0)) * static_cast<std::size_t>(std::max(record.gridRows, 0));
    record.gridHandle = std::make_unique<std::uint8_t[]>(size); // zero-filled
    return record.gridHandle.get();
}

int FreeGrid(GameRecord& record)
{
    if (!record.gridHandle)
        return 0;
    record.gridHandle.reset();
    return 1;
}

int FillCells(GameRecord& record, std::int32_t column, std::int32_t row, std::int32_t width, std::int32_t height,
              std::uint8_t value)
{
    if (!record.gridHandle)
        return 1;
    // Every caller keeps inside the grid; the clamp only guards the memory.
    const std::int32_t c0 = std::max(column, 0), c1 = std::min(column + width, record.gridCols);
    const std::int32_t r0 = std::max(row, 0), r1 = std::min(row + height, record.gridRows);
    for (std::int32_t r = r0; r < r1; ++r)
        for (std::int32_t c = c0; c < c1; ++c)
            record.gridHandle[static_cast<std::size_t>(r) * record.gridCols + c] = value;
    return 1;
}

int ShiftGrid(GameRecord& record, std::int32_t n)
{
    if (!record.gridHandle || n <= 0)
        return 1;
    n = std::min(n, record.gridCols);
    for (std::int32_t r = 0; r < record.gridRows; ++r) {
        std::uint8_t* row = record.gridHandle.get() + static_cast<std::size_t>(r) * record.gridCols;
        std::memmove(row, row + n, static_cast<std::size_t>(record.gridCols - n));
        std::memset(row + (record.gridCols - n), 0, static_cast<std::size_t>(n));
    }
    return 1;
}

std::uint8_t GridCell(const GameRecord& record, std::int32_t column, std::int32_t row)
{
    if (!record.gridHandle || column < 0 || row < 0 || column >= record.gridCols || row >= record.gridRows)
        return CellEmpty;
    return record.gridHandle[static_cast<std::size_t>(row) * record.gridCols + column];
}

} // namespace ruvo
