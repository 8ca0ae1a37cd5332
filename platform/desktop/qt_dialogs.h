// The four modal dialogs on Qt, built from the game's dialog templates, the
// Replays list and the Board dialog.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/host.h"

namespace ruvo {

class QtWindowSystem;

class QtDialogHost final : public DialogHost {
  public:
    explicit QtDialogHost(QtWindowSystem& windows) : windows_(windows) {}
    int RunAbout() override;
    int RunOption(GameRecord& record) override;
    int RunHighScore(GameRecord& record) override;
    int RunInput(GameRecord& record) override;
    int RunReplays(GameRecord& record) override;
    int RunBoard(GameRecord& record) override;
    // A message box over the game window, on stderr too.
    void ShowNote(std::string_view text) override;

  private:
    QtWindowSystem& windows_;
};

} // namespace ruvo
