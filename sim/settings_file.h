// Reads a settings file in the game's own format on Linux: the INI file that
// Qt's QSettings writes and reads. The runner must read it as the game does,
// quirks included, and it must do so without Qt (it also runs as WebAssembly).
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace ruvo::sim {

using SettingsValues = std::map<std::string, std::string, std::less<>>;

// Every key of the file (sections as "Section/key", [General] as no section)
// with its value as text in UTF-8; a key written twice keeps the last value.
// A value that is a list or a value of another type reads as empty text.
SettingsValues ParseSettingsText(std::string_view data);

// Reads the file at path; a missing or unreadable file gives no values.
SettingsValues ReadSettingsFile(const std::string& path);

} // namespace ruvo::sim
