// A text renderer with fixed metrics for the engine's tests: every byte is
// 8 pixels wide and a line is as high as the font asks; each letter is drawn
// as a small block in its colour.
// SPDX-License-Identifier: MIT
#pragma once

#include <map>

#include "record/host.h"
#include "render/surface.h"

namespace ruvo::testing {

class FixedText final : public TextRenderer {
  public:
    FontId MakeFont(const FontRequest& request) override
    {
        heights[next] = request.height;
        return next++;
    }
    void DeleteFont(FontId font) override { heights.erase(font); }
    TextExtent Measure(FontId font, std::string_view text) override
    {
        return {static_cast<std::int32_t>(8 * text.size()), heights.count(font) ? heights[font] : 0};
    }
    void Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
              std::string_view text) override
    {
        const std::int32_t h = heights.count(font) ? heights[font] : 0;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] != ' ')
                BlockTransfer(target, x + 8 * static_cast<std::int32_t>(i) + 2, y + h / 4, 4, h / 2, nullptr, 0, 0,
                              RasterOp::PatCopy, PixelFromColorRef(colorRef));
        drawn.emplace_back(text);
    }

    std::map<FontId, std::int32_t> heights;
    std::vector<std::string> drawn;
    FontId next = 1;
};

} // namespace ruvo::testing
