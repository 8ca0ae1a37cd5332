// The game's licence and the third-party notices, which the About box's
// Licences button opens. Both texts are built into the program, so that
// every copy carries them, wherever it is installed.
// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace ruvo {

// The About box's own control id for its Licences button.
constexpr int kLicencesId = 3;

// Runs the viewer, modal to `parent`, until the player closes it.
void ShowLicences(QWidget* parent);

} // namespace ruvo
