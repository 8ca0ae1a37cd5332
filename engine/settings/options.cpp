// The eight options by row: their values, their text and its reading.
// SPDX-License-Identifier: MIT
#include "settings/options.h"

#include "record/decimal.h"

namespace ruvo {
namespace {

// The unsigned options' fields in the rows' order, of a game or of a const one.
template <typename G> auto UnsignedField(G& game, std::size_t row) -> decltype(&game.optRound)
{
    switch (row) {
    case 0:
        return &game.optRound;
    case 1:
        return &game.optGameLevel;
    case 2:
        return &game.optBossLevel;
    case 3:
        return &game.optDistance;
    case 4:
        return &game.optSpeed;
    case 5:
        return &game.optHarryLevel;
    default:
        return &game.optHarrySpeed;
    }
}

} // namespace

std::optional<std::size_t> OptionByName(std::string_view name)
{
    for (std::size_t row = 0; row < kOptionRows.size(); ++row)
        if (name == kOptionRows[row].name)
            return row;
    return std::nullopt;
}

std::uint32_t OptionBits(const Game& game, std::size_t row)
{
    if (row == 7)
        return static_cast<std::uint32_t>(game.optDamage);
    return *UnsignedField(game, row);
}

void SetOptionBits(Game& game, std::size_t row, std::uint32_t bits)
{
    if (row == 7)
        game.optDamage = static_cast<std::int32_t>(bits);
    else if (row < 7)
        *UnsignedField(game, row) = bits;
}

std::string OptionText(std::size_t row, std::uint32_t bits)
{
    return kOptionRows[row].isSigned ? std::to_string(static_cast<std::int32_t>(bits)) : std::to_string(bits);
}

std::string OptionText(const Game& game, std::size_t row)
{
    return OptionText(row, OptionBits(game, row));
}

bool ParseOption(std::size_t row, std::string_view text, std::uint32_t& bits)
{
    return row < kOptionRows.size() && ParseDecimal32(text, kOptionRows[row].isSigned, bits);
}

} // namespace ruvo
