// The game's two fonts: the status line's and banners', and the title's.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

FontRequest TextFontRequest(); // 18-pixel bold "Arial"
FontRequest LogoFontRequest(); // 80-pixel bold "ＭＳ ゴシック"

int CreateFonts(GameRecord& record);
int DeleteFonts(GameRecord& record);

} // namespace ruvo
