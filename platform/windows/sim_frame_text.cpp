// ruvo-sim's letters on Windows: GDI's, as the game draws them.
// SPDX-License-Identifier: MIT
#include "platform/windows/gdi_text.h"
#include "sim/frame_text.h"

namespace ruvo::sim {

std::unique_ptr<TextRenderer> MakeFrameText(int, char**)
{
    return std::make_unique<GdiTextRenderer>();
}

} // namespace ruvo::sim
