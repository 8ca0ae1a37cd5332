// A drawing context: the surface selected into it, and the text font and
// colour that the last text routine chose. Text is always drawn with a
// transparent background.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "render/surface.h"

namespace ruvo {

using FontId = std::uint32_t;

struct DrawContext {
    Surface* bitmap = nullptr;
    FontId font = 0;
    std::uint32_t textColor = 0; // a COLORREF: 0x00BBGGRR
};

} // namespace ruvo
