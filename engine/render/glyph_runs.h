// Text from cached letters. The game draws the status line on every tick:
// each letter is rasterised by the platform once, kept as runs of pixels,
// and strings are measured and laid from those.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/surface.h"
#include "render/text.h"

namespace ruvo {

// One horizontal stretch of a letter's pixels, relative to the pen position
// on the top line of the text cell.
struct GlyphRun {
    std::int32_t dx;
    std::int32_t dy;
    std::int32_t length;
};

struct Glyph {
    std::vector<GlyphRun> runs;
    std::int32_t advance = 0;
};

// The runs of a coverage mask (width x height, non-zero where there is ink)
// whose pen position is at (pad, pad).
std::vector<GlyphRun> RunsFromMask(const std::uint8_t* mask, std::int32_t width, std::int32_t height, std::int32_t pad);

class GlyphCache {
  public:
    using Rasterise = std::function<Glyph(char32_t codePoint)>;
    GlyphCache(Rasterise rasterise, std::int32_t cellHeight);

    const Glyph& Get(char32_t codePoint);

    TextExtent Measure(std::string_view text);
    void Draw(Surface& target, Pixel colour, std::int32_t x, std::int32_t y, std::string_view text);

  private:
    Rasterise rasterise_;
    std::int32_t cellHeight_;
    std::array<std::unique_ptr<Glyph>, 128> ascii_{};
    std::unordered_map<char32_t, Glyph> others_;
};

// Calls visit with each code point of UTF-8 text; a malformed sequence
// counts as one replacement character.
template <typename Visit> void ForEachCodePoint(std::string_view text, Visit visit)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const auto* start = p;
        const unsigned char lead = *p;
        int extra = 0;
        char32_t c = lead;
        if (lead >= 0xF0 && lead < 0xF5) {
            extra = 3;
            c = lead & 0x07;
        } else if (lead >= 0xE0) {
            extra = lead < 0xF0 ? 2 : -1;
            c = lead & 0x0F;
        } else if (lead >= 0xC2) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0x80) {
            extra = -1;
        }
        ++p;
        for (int i = 0; i < extra; ++i) {
            if (p == end || (*p & 0xC0) != 0x80) {
                extra = -1;
                break;
            }
            c = (c << 6) | (*p++ & 0x3F);
        }
        const bool overlong =
            (extra == 1 && c < 0x80) || (extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF));
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        if (extra >= 0 && (overlong || surrogate)) {
            p = start + 1; // only the lead byte was wrong; what follows is read afresh
            extra = -1;
        }
        visit(extra < 0 ? char32_t{0xFFFD} : c);
    }
}

} // namespace ruvo
