// The saved settings: sound and music switches, the option flag and the
// high-score table, in one settings key with eighteen named values.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "record/record.h"

namespace ruvo {

constexpr const char* kDefaultName = "K.Dorrimak";

std::uint32_t ReadRegistryDword(SettingsStore* store, std::string_view name, std::uint32_t defaultValue);
// Fills buffer (zero-terminated) with the stored text, or the default when the
// value is missing or does not fit with its terminating zero. Returns a byte count.
std::size_t ReadRegistryString(SettingsStore* store, std::string_view name, char* buffer, std::size_t bufferSize,
                               std::string_view defaultText);

int LoadSettings(GameRecord& record);
// The game's save: the switches as they stand, and the table as stored now
// with this run's unsaved entries inserted (see MergeStoredTable).
int SaveSettings(GameRecord& record);
// Writes all eighteen values as the record holds them, the table whole.
int WriteSettings(GameRecord& record);
// Reads the five rows of the table alone, each missing value as its default.
void LoadTable(GameRecord& record);

// "Score1", "Round3", "Name5", ...
std::string RowValueName(std::string_view word, int row);

// Copies text into a name buffer, keeping at most 31 bytes and never
// splitting a UTF-8 character.
void CopyName(NameBuffer& buffer, std::string_view text);
std::string_view NameText(const NameBuffer& buffer);

} // namespace ruvo
