// The high-score table after a game: placing, naming and saving a score.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "record/record.h"

namespace ruvo {

// After a game: a score above the fifth place enters the table below every
// equal score, asks for a name, is saved and the table is shown.
int CheckHighScore(GameRecord& record);

// The window closes while a new entry waits for its name: the entry goes into
// the table with the name as the dialog ended, for the close's one save, and
// CheckHighScore neither saves it again nor shows the table.
void TakePendingEntry(GameRecord& record);

// The row a score would take (0 to 4), or 5 when it does not enter the table.
std::size_t HighScoreRow(const Game& game, std::uint32_t score);

// The five rows, as the record holds them or as stored.
struct HighScoreTable {
    std::array<std::uint32_t, 5> scores{};
    std::array<std::uint16_t, 5> rounds{};
    std::array<NameBuffer, 5> names{};
};
HighScoreTable TableOf(const GameRecord& record);
// Row k of the two holds the same score, round and name.
bool SameRow(const HighScoreTable& a, const HighScoreTable& b, std::size_t k);

// Takes in the table as the settings store holds it now (another window, tab
// or instance of the game may have stored new entries since this one loaded)
// and inserts into it, by the table's own rule, the entries of this run that
// the store does not hold yet. Returns the table as it was stored.
HighScoreTable MergeStoredTable(GameRecord& record);

} // namespace ruvo
