// What the four dialogs do with the record, apart from how they look.
// SPDX-License-Identifier: MIT
#include "settings/dialog_logic.h"

#include "record/decimal.h"
#include "settings/registry.h"

namespace ruvo {

std::uint32_t ParseDialogInt(std::string_view text, bool isSigned)
{
    const std::size_t first = text.find_first_not_of(' ');
    std::uint32_t bits = 0;
    return first != std::string_view::npos && ParseDecimal32(text.substr(first), isSigned, bits) ? bits : 0;
}

std::array<std::string, 8> FillOptionEdits(const GameRecord& record)
{
    std::array<std::string, 8> edits;
    for (std::size_t row = 0; row < edits.size(); ++row)
        edits[row] = OptionText(record.game, row);
    return edits;
}

void StoreOptionEdits(GameRecord& record, const std::array<std::string, 8>& edits)
{
    for (std::size_t row = 0; row < edits.size(); ++row)
        SetOptionBits(record.game, row, ParseDialogInt(edits[row], kOptionRows[row].isSigned));
}

void StoreEntryName(Game& game, std::string_view text)
{
    CopyName(game.entryName, text);
}

void StoreEntryName(GameRecord& record, std::string_view text)
{
    StoreEntryName(record.game, text);
}

std::array<HighScoreRowText, 5> HighScoreRows(const GameRecord& record)
{
    static constexpr const char* kPlaces[5] = {"1st", "2nd", "3rd", "4th", "5th"};
    std::array<HighScoreRowText, 5> rows;
    for (std::size_t k = 0; k < 5; ++k)
        rows[k] = {kPlaces[k], std::to_string(record.game.hiScores[k]), std::to_string(record.game.hiRounds[k]),
                   std::string(NameText(record.game.hiNames[k]))};
    return rows;
}

} // namespace ruvo
