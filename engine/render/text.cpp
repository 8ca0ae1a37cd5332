// Text through the platform's renderer: fonts, measuring and drawing.
// SPDX-License-Identifier: MIT
#include "render/text.h"

namespace ruvo {

void SelectFont(DrawContext& dc, FontId font)
{
    dc.font = font;
}

void SetTextColor(DrawContext& dc, std::uint32_t colorRef)
{
    dc.textColor = colorRef;
}

TextExtent GetTextExtent(TextRenderer* text, const DrawContext& dc, std::string_view letters)
{
    if (text == nullptr)
        return {};
    return text->Measure(dc.font, letters);
}

void TextOut(TextRenderer* text, DrawContext& dc, std::int32_t x, std::int32_t y, std::string_view letters)
{
    if (text == nullptr || dc.bitmap == nullptr)
        return;
    text->Draw(*dc.bitmap, dc.font, dc.textColor, x, y, letters);
}

TextExtent WriteCentred(TextRenderer* text, DrawContext& dc, std::int32_t y, std::string_view letters)
{
    const TextExtent extent = GetTextExtent(text, dc, letters);
    if (dc.bitmap == nullptr)
        return extent;
    const std::int32_t x = (dc.bitmap->Width() - extent.cx) / 2;
    if (y == kCentreDown)
        y = (dc.bitmap->Height() - extent.cy) / 2;
    TextOut(text, dc, x, y, letters);
    return extent;
}

} // namespace ruvo
