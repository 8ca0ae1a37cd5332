// Fonts and text output into a drawing context. Every routine that writes
// text selects its own font and colour first and leaves them selected.
#pragma once

#include <cstdint>
#include <string_view>

#include "game/record.h"

namespace ruvo {

FontRequest TextFontRequest(); // 18-pixel bold "Arial"
FontRequest LogoFontRequest(); // 80-pixel bold "ＭＳ ゴシック"

int CreateFonts(GameRecord& record);
int DeleteFonts(GameRecord& record);

void SelectFont(DrawContext& dc, FontId font);
void SetTextColor(DrawContext& dc, std::uint32_t colorRef);
TextExtent GetTextExtent(GameRecord& record, const DrawContext& dc, std::string_view text);
void TextOut(GameRecord& record, DrawContext& dc, std::int32_t x, std::int32_t y, std::string_view text);

// Measures text in the context's font and writes it centred across the field
// at y, or centred down the field too when y is kCentreDown.
constexpr std::int32_t kCentreDown = INT32_MIN;
TextExtent WriteCentred(GameRecord& record, DrawContext& dc, std::int32_t y, std::string_view text);

} // namespace ruvo
