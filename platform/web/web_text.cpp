// Text in the browser, drawn by the page's canvas.
// SPDX-License-Identifier: MIT
#include "platform/web/web_text.h"

#include <vector>

#include "platform/web/web_imports.h"

namespace ruvo {
namespace {

Glyph RasteriseGlyph(FontId font, std::int32_t cellHeight, char32_t codePoint)
{
    // Room around the cell for overhangs, and two cells across for the widest letter.
    const std::int32_t pad = cellHeight / 2 + 4;
    const std::int32_t width = 2 * cellHeight + 2 * pad;
    const std::int32_t height = cellHeight + 2 * pad;
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    Glyph glyph;
    glyph.advance = ruvo_text_glyph(font, static_cast<std::uint32_t>(codePoint), mask.data(), width, height, pad);
    glyph.runs = RunsFromMask(mask.data(), width, height, pad);
    return glyph;
}

} // namespace

FontId WebTextRenderer::MakeFont(const FontRequest& request)
{
    const FontId id = nextId_++;
    const std::int32_t cellHeight = ruvo_text_font(id, request.height, request.weight, request.faceName.data(),
                                                   static_cast<std::int32_t>(request.faceName.size()));
    fonts_.emplace(id, std::make_unique<GlyphCache>(
                           [id, cellHeight](char32_t c) { return RasteriseGlyph(id, cellHeight, c); }, cellHeight));
    return id;
}

void WebTextRenderer::DeleteFont(FontId font)
{
    fonts_.erase(font);
}

TextExtent WebTextRenderer::Measure(FontId font, std::string_view text)
{
    const auto it = fonts_.find(font);
    return it == fonts_.end() ? TextExtent{} : it->second->Measure(text);
}

void WebTextRenderer::Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
                           std::string_view text)
{
    const auto it = fonts_.find(font);
    if (it != fonts_.end())
        it->second->Draw(target, PixelFromColorRef(colorRef), x, y, text);
}

} // namespace ruvo
