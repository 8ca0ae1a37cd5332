// The high-score table: a new score placed, named, saved and shown.
// SPDX-License-Identifier: MIT
#include "settings/highscore.h"

#include <vector>

#include "audio/audio.h"
#include "settings/dialog_logic.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

// Moves rows row to 3 down by one place; the fifth row drops out. The marks
// of unsaved entries move with their rows.
void MakeRoom(GameRecord& record, std::size_t row)
{
    for (std::size_t j = 4; j > row; --j) {
        record.game.hiScores[j] = record.game.hiScores[j - 1];
        record.game.hiRounds[j] = record.game.hiRounds[j - 1];
        record.game.hiNames[j] = record.game.hiNames[j - 1];
    }
    const unsigned above = record.hiUnsavedRows & ((1u << row) - 1);
    const unsigned below = (static_cast<unsigned>(record.hiUnsavedRows) << 1) & 0x1Fu & ~((2u << row) - 1);
    record.hiUnsavedRows = static_cast<std::uint8_t>(above | below);
}

// Puts the entry into the row its score earns, marked unsaved; an entry that
// no longer earns a row is dropped.
void InsertEntry(GameRecord& record, std::uint32_t score, std::uint16_t round, const NameBuffer& name)
{
    const std::size_t row = HighScoreRow(record.game, score);
    if (row > 4)
        return;
    MakeRoom(record, row);
    record.game.hiScores[row] = score;
    record.game.hiRounds[row] = round;
    record.game.hiNames[row] = name;
    record.game.hiNames[row].back() = '\0';
    record.hiUnsavedRows = static_cast<std::uint8_t>(record.hiUnsavedRows | (1u << row));
}

} // namespace

void TakePendingEntry(GameRecord& record)
{
    if (record.entryPending == 0)
        return;
    record.entryPending = 0;
    // The row is found once the name is in: while the player typed, the
    // table may have taken in another window's entries.
    InsertEntry(record, record.game.score, static_cast<std::uint16_t>(record.game.round), record.game.entryName);
}

std::size_t HighScoreRow(const Game& game, std::uint32_t score)
{
    if (score <= game.hiScores[4])
        return 5;
    std::size_t row = 0;
    while (game.hiScores[row] >= score)
        ++row;
    return row;
}

int CheckHighScore(GameRecord& record)
{
    if (HighScoreRow(record.game, record.game.score) > 4)
        return 1;
    SelectMusic(record, MusicHighScore);
    record.entryPending = 1;
    if (record.host.dialogs != nullptr) {
        const OpenDialog open(record);
        record.host.dialogs->RunInput(record);
    }
    if (record.entryPending == 0)
        return 1; // the window closed meanwhile and took the entry with it
    TakePendingEntry(record);
    SaveSettings(record);
    if (record.host.dialogs != nullptr) {
        const OpenDialog open(record);
        record.host.dialogs->RunHighScore(record);
    }
    return 1;
}

HighScoreTable TableOf(const GameRecord& record)
{
    return {record.game.hiScores, record.game.hiRounds, record.game.hiNames};
}

bool SameRow(const HighScoreTable& a, const HighScoreTable& b, std::size_t k)
{
    return a.scores[k] == b.scores[k] && a.rounds[k] == b.rounds[k] && NameText(a.names[k]) == NameText(b.names[k]);
}

HighScoreTable MergeStoredTable(GameRecord& record)
{
    struct Entry {
        std::uint32_t score;
        std::uint16_t round;
        NameBuffer name;
    };
    // Best first: of two equal scores the older one stands higher, and so it
    // is inserted first and keeps its place above the other.
    std::vector<Entry> unsaved;
    for (std::size_t k = 0; k < 5; ++k)
        if ((record.hiUnsavedRows >> k) & 1u)
            unsaved.push_back({record.game.hiScores[k], record.game.hiRounds[k], record.game.hiNames[k]});
    LoadTable(record);
    const HighScoreTable stored = TableOf(record);
    record.hiUnsavedRows = 0;
    for (const Entry& entry : unsaved)
        InsertEntry(record, entry.score, entry.round, entry.name);
    return stored;
}

} // namespace ruvo
