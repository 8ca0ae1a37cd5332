// The help viewer: Windows no longer has one for .HLP files, so the help text
// shows in a window of the game's own, a read-only rich-text view of the
// help file made at build time (RUVO.RTF beside the program). It belongs to
// the game window: it stays above it and usable while the game shows a
// dialog, the game stays usable while it is open, and closing it gives the
// keys back to the game. Its size follows the game window's scale.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "record/host.h"

namespace ruvo {

class WinWindowSystem;

class HelpWindow final : public HelpViewer {
  public:
    // The game window of windows (when given) owns the help window.
    explicit HelpWindow(const WinWindowSystem* windows = nullptr) : windows_(windows) {}
    ~HelpWindow() override;
    HelpWindow(const HelpWindow&) = delete;
    HelpWindow& operator=(const HelpWindow&) = delete;

    // Finder: opens (or raises) the window on the file's contents; Quit closes it.
    void Help(std::string_view fileName, HelpCommand command) override;

    // The help text of a help file: the rich text made from it, beside the
    // program, or a note that it is missing.
    static std::string ReadHelpText(std::string_view fileName);

  private:
    const WinWindowSystem* windows_;
    void* window_ = nullptr;
};

} // namespace ruvo
