// What the four dialogs do with the record, apart from how they look.
// SPDX-License-Identifier: MIT
#include "settings/dialog_logic.h"

#include "settings/registry.h"

namespace ruvo {
namespace {

std::uint32_t* UnsignedField(GameRecord& record, std::size_t row)
{
    std::uint32_t* fields[7] = {&record.optRound, &record.optGameLevel,  &record.optBossLevel, &record.optDistance,
                                &record.optSpeed, &record.optHarryLevel, &record.optHarrySpeed};
    return fields[row];
}

} // namespace

std::uint32_t ParseDialogInt(std::string_view text, bool isSigned)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (isSigned && i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == text.size())
        return 0;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > 0xFFFFFFFFull)
            return 0;
    }
    if (isSigned) {
        const std::uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
        if (value > limit)
            return 0;
        const auto magnitude = static_cast<std::uint32_t>(value);
        return negative ? 0u - magnitude : magnitude;
    }
    return static_cast<std::uint32_t>(value);
}

std::array<std::string, 8> FillOptionEdits(const GameRecord& record)
{
    return {std::to_string(record.optRound),      std::to_string(record.optGameLevel),
            std::to_string(record.optBossLevel),  std::to_string(record.optDistance),
            std::to_string(record.optSpeed),      std::to_string(record.optHarryLevel),
            std::to_string(record.optHarrySpeed), std::to_string(record.optDamage)};
}

void StoreOptionEdits(GameRecord& record, const std::array<std::string, 8>& edits)
{
    for (std::size_t row = 0; row < 7; ++row)
        *UnsignedField(record, row) = ParseDialogInt(edits[row], false);
    record.optDamage = static_cast<std::int32_t>(ParseDialogInt(edits[7], true));
}

void StoreEntryName(GameRecord& record, std::string_view text)
{
    CopyName(record.entryName, text);
}

std::array<HighScoreRowText, 5> HighScoreRows(const GameRecord& record)
{
    static constexpr const char* kPlaces[5] = {"1st", "2nd", "3rd", "4th", "5th"};
    std::array<HighScoreRowText, 5> rows;
    for (std::size_t k = 0; k < 5; ++k)
        rows[k] = {kPlaces[k], std::to_string(record.hiScores[k]), std::to_string(record.hiRounds[k]),
                   std::string(NameText(record.hiNames[k]))};
    return rows;
}

} // namespace ruvo
