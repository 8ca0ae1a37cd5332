// What the four dialogs do with the record, apart from how they look: the
// Option dialog's eight edits, the name entry and the high-score rows.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "record/record.h"
#include "settings/options.h"

namespace ruvo {

constexpr const char* kAboutTitle = "“Ruvo Zelp!”について";
constexpr const char* kAboutText = "Jumping Ruvo version 1.32";
constexpr const char* kInputPrompt = "Your score is in top five. Please input your name.";

// Reads an edit's number: leading blanks skipped, then decimal digits (with a
// minus sign when signed) and nothing else; text that is not such a number,
// or does not fit 32 bits, gives 0.
std::uint32_t ParseDialogInt(std::string_view text, bool isSigned);

std::array<std::string, 8> FillOptionEdits(const GameRecord& record);
// OK: all eight fields are stored at once.
void StoreOptionEdits(GameRecord& record, const std::array<std::string, 8>& edits);

// OK in the name dialog: at most 31 bytes, never half a character.
void StoreEntryName(Game& game, std::string_view text);
void StoreEntryName(GameRecord& record, std::string_view text);

struct HighScoreRowText {
    std::string place;
    std::string score;
    std::string round;
    std::string name;
};
std::array<HighScoreRowText, 5> HighScoreRows(const GameRecord& record);

// Counts a dialog as open on the record for as long as it lives: whatever
// the engine runs through the dialog host holds one.
class OpenDialog {
  public:
    explicit OpenDialog(GameRecord& record) : record_(record) { ++record_.dialogsOpen; }
    ~OpenDialog() { --record_.dialogsOpen; }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

  private:
    GameRecord& record_;
};

} // namespace ruvo
