// The letters in ruvo-sim's frames come from the build: Qt's fonts on the
// desktop, none in the WebAssembly build (its frames show no text). Text only
// changes what the frames show, never what the engine does or traces.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "record/host.h"

namespace ruvo::sim {

// Called once, after the command line was read; null draws frames without letters.
std::unique_ptr<TextRenderer> MakeFrameText(int argc, char** argv);

} // namespace ruvo::sim
