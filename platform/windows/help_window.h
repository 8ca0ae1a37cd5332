// The help viewer: Windows no longer has one for .HLP files, so the help text
// shows in a window of the game's own, a read-only rich-text view of the
// help file made at build time (RUVO.RTF beside the program). Like the
// system's viewer it belongs to no other window: it stays usable while the
// game shows a dialog, and the game while it is open.
#pragma once

#include <string>

#include "record/host.h"

namespace ruvo {

class HelpWindow final : public HelpViewer {
  public:
    HelpWindow() = default;
    ~HelpWindow() override;
    HelpWindow(const HelpWindow&) = delete;
    HelpWindow& operator=(const HelpWindow&) = delete;

    // Finder: opens (or raises) the window on the file's contents; Quit closes it.
    void Help(std::string_view fileName, HelpCommand command) override;

    // The help text of a help file: the rich text made from it, beside the
    // program, or a note that it is missing.
    static std::string ReadHelpText(std::string_view fileName);

  private:
    void* window_ = nullptr;
};

} // namespace ruvo
