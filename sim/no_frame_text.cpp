// The WebAssembly build has no fonts: its frames show no letters.
// SPDX-License-Identifier: MIT
#include "sim/frame_text.h"

namespace ruvo::sim {

std::unique_ptr<TextRenderer> MakeFrameText(int, char**)
{
    return nullptr;
}

} // namespace ruvo::sim
