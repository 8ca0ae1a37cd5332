// A help viewer window of our own, standing in for the system's.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "record/host.h"

namespace ruvo {

class QtHelpViewer final : public HelpViewer {
  public:
    QtHelpViewer();
    ~QtHelpViewer() override;
    // Finder: opens (or raises) the viewer on the file's contents; Quit closes it.
    void Help(std::string_view fileName, HelpCommand command) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace ruvo
