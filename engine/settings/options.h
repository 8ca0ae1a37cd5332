// The eight options, written once: the Option dialog's rows top to bottom,
// the names that ruvo-sim's --option and a replay file give them, and their
// defaults. Each takes any value of its 32 bits, unsigned but for Damage:
// whatever the dialog's number reading gives is what the game plays with.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "record/game.h"

namespace ruvo {

struct OptionRow {
    const char* name;  // optRound ... optDamage
    const char* label; // the dialog's
    std::uint16_t editId;
    bool isSigned;
    std::int32_t defaultValue;
};

constexpr std::array<OptionRow, 8> kOptionRows = {{
    {"optRound", "Round:", 402, false, 1},
    {"optGameLevel", "Game Level:", 403, false, 60},
    {"optBossLevel", "Boss Level:", 404, false, 10},
    {"optDistance", "Distance:", 405, false, 300},
    {"optSpeed", "Speed:", 406, false, 80},
    {"optHarryLevel", "Harry Level:", 407, false, 600},
    {"optHarrySpeed", "Harry Speed:", 408, false, 50},
    {"optDamage", "Damage:", 409, true, 4},
}};

// The row of an option by its name, if there is one.
std::optional<std::size_t> OptionByName(std::string_view name);

// An option's value as its 32 bits (Damage's two's complement), and back.
std::uint32_t OptionBits(const Game& game, std::size_t row);
void SetOptionBits(Game& game, std::size_t row, std::uint32_t bits);
// As the dialog shows it and a replay file writes it: decimal, signed for Damage.
std::string OptionText(const Game& game, std::size_t row);
std::string OptionText(std::size_t row, std::uint32_t bits);
// Reads a value as a replay file and ruvo-sim do: decimal digits within the
// row's 32 bits, a '-' for Damage, and nothing else.
bool ParseOption(std::size_t row, std::string_view text, std::uint32_t& bits);

} // namespace ruvo
