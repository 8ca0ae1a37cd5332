// The game's four modal dialogs, the Replays list and the Board dialog on
// Win32, each built in memory from its template and run with DialogBoxIndirectParamW,
// and the notes' message boxes, all owned by the game window: the game's timer
// goes on ticking behind them.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "record/host.h"
#include "settings/dialog_templates.h"

namespace ruvo {

class WinWindowSystem;

// The caption of the notes' message boxes.
constexpr const wchar_t* kNoteCaption = L"Ruvo Zelp!";

class WinDialogHost final : public DialogHost {
  public:
    explicit WinDialogHost(WinWindowSystem& windows) : windows_(windows) {}
    int RunAbout() override;
    int RunOption(GameRecord& record) override;
    int RunHighScore(GameRecord& record) override;
    int RunInput(GameRecord& record) override;
    void EndDialogs() override;
    // The Replays list (win_replays_dialog.cpp).
    int RunReplays(GameRecord& record) override;
    // The Board dialog (win_board_dialog.cpp).
    int RunBoard(GameRecord& record) override;
    // A message box owned by the game window (none once it is gone), and a line on stderr.
    void ShowNote(std::string_view text) override;

    // The dialogs open now, innermost last (for their procedure).
    struct Open {
        void* dialog;
        int kind;
        GameRecord* record;
    };
    std::vector<Open>& OpenDialogs() { return open_; }

  private:
    WinWindowSystem& windows_;
    std::vector<Open> open_;
};

// A DLGTEMPLATE with its items, as the dialog manager reads it: a pop-up
// with a caption, a close box and a modal frame, in the dialog font.
std::vector<std::uint16_t> BuildDialogTemplate(const DialogTemplate& layout, std::uint16_t iconGroup);

// The Board dialog (Game > Board...): the board's address in an edit, a line
// that tells what is under way, and Play for the Board (OK), Open the Board
// and Close (Cancel).
constexpr int kBoardAddressId = 1100;
constexpr int kBoardStatusId = 1101;
constexpr int kBoardOpenId = 1102;
const DialogTemplate& BoardTemplate();

} // namespace ruvo
