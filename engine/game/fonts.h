// The drawing's two fonts, made through the host's text renderer.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/drawing.h"
#include "render/text.h"

namespace ruvo {

FontRequest TextFontRequest(); // 18-pixel bold "Arial"
FontRequest LogoFontRequest(); // 80-pixel bold "ＭＳ ゴシック"

// With the renderer the drawing writes its letters with (none: no letters).
int CreateFonts(Drawing& drawing, TextRenderer* text);
int DeleteFonts(Drawing& drawing);

} // namespace ruvo
