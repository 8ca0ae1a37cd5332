// The four dialogs, the Replays list and the Board dialog as modal HTML dialogs, built by the page from the same
// templates as the desktop's. Running one suspends the game's call until the
// player answers; the page keeps the game ticking meanwhile.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/host.h"

namespace ruvo {

class WebDialogHost final : public DialogHost {
  public:
    int RunAbout() override;
    int RunOption(GameRecord& record) override;
    int RunHighScore(GameRecord& record) override;
    int RunInput(GameRecord& record) override;
    int RunReplays(GameRecord& record) override;
    int RunBoard(GameRecord& record) override;
    // The page's note, over its dialogs; it closes by itself.
    void ShowNote(std::string_view text) override;
};

class WebHelpViewer final : public HelpViewer {
  public:
    void Help(std::string_view fileName, HelpCommand command) override;
};

} // namespace ruvo
