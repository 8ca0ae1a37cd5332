// Text: the platform's text renderer, which makes fonts and measures and
// draws letters, and text output into a drawing context. Every routine that
// writes text selects its own font and colour first and leaves them selected.
// SPDX-License-Identifier: MIT
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "render/draw_context.h"
#include "render/surface.h"

namespace ruvo {

// A font as the game asks for it: upright, unadorned letters of a face at a
// height and weight; how they are rasterised is the renderer's own choice.
struct FontRequest {
    std::int32_t height = 0; // positive: the character cell height in pixels
    std::int32_t weight = 0;
    std::uint8_t charSet = 0;
    std::string faceName; // UTF-8
};

struct TextExtent {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

class TextRenderer {
  public:
    virtual ~TextRenderer() = default;
    virtual FontId MakeFont(const FontRequest& request) = 0;
    virtual void DeleteFont(FontId font) = 0;
    virtual TextExtent Measure(FontId font, std::string_view text) = 0;
    // Draws the letters only, in a solid colour (COLORREF 0x00BBGGRR), with
    // the top-left of the text cell at (x, y); everything is clipped to target.
    virtual void Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
                      std::string_view text) = 0;
};

// Without a renderer (text is null) nothing is measured or drawn.
void SelectFont(DrawContext& dc, FontId font);
void SetTextColor(DrawContext& dc, std::uint32_t colorRef);
TextExtent GetTextExtent(TextRenderer* text, const DrawContext& dc, std::string_view letters);
void TextOut(TextRenderer* text, DrawContext& dc, std::int32_t x, std::int32_t y, std::string_view letters);

// Measures the letters in the context's font and writes them centred across
// the context's surface at y, or centred down it too when y is kCentreDown.
constexpr std::int32_t kCentreDown = INT32_MIN;
TextExtent WriteCentred(TextRenderer* text, DrawContext& dc, std::int32_t y, std::string_view letters);

} // namespace ruvo
