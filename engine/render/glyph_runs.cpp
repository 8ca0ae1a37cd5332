// Text drawn from cached letters, so that the status line costs little.
// SPDX-License-Identifier: MIT
#include "render/glyph_runs.h"

#include <algorithm>
#include <climits>

namespace ruvo {

std::vector<GlyphRun> RunsFromMask(const std::uint8_t* mask, std::int32_t width, std::int32_t height, std::int32_t pad)
{
    std::vector<GlyphRun> runs;
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = mask + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (std::int32_t x = 0; x < width;) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            const std::int32_t start = x;
            while (x < width && row[x] != 0)
                ++x;
            runs.push_back({start - pad, y - pad, x - start});
        }
    }
    return runs;
}

GlyphCache::GlyphCache(Rasterise rasterise, std::int32_t cellHeight)
    : rasterise_(std::move(rasterise)), cellHeight_(cellHeight)
{
}

const Glyph& GlyphCache::Get(char32_t codePoint)
{
    if (codePoint < ascii_.size()) {
        auto& slot = ascii_[codePoint];
        if (!slot)
            slot = std::make_unique<Glyph>(rasterise_(codePoint));
        return *slot;
    }
    auto it = others_.find(codePoint);
    if (it == others_.end())
        it = others_.emplace(codePoint, rasterise_(codePoint)).first;
    return it->second;
}

TextExtent GlyphCache::Measure(std::string_view text)
{
    std::int64_t width = 0;
    ForEachCodePoint(text, [&](char32_t c) { width += Get(c).advance; });
    return {static_cast<std::int32_t>(std::clamp<std::int64_t>(width, INT32_MIN, INT32_MAX)), cellHeight_};
}

void GlyphCache::Draw(Surface& target, Pixel colour, std::int32_t x, std::int32_t y, std::string_view text)
{
    const std::int64_t width = target.Width();
    const std::int64_t height = target.Height();
    std::int64_t penX = x;
    ForEachCodePoint(text, [&](char32_t c) {
        const Glyph& glyph = Get(c);
        for (const GlyphRun& run : glyph.runs) {
            const std::int64_t row = std::int64_t{y} + run.dy;
            if (row < 0 || row >= height)
                continue;
            const std::int64_t from = std::max<std::int64_t>(penX + run.dx, 0);
            const std::int64_t to = std::min<std::int64_t>(penX + run.dx + run.length, width);
            if (from < to)
                std::fill(target.Row(static_cast<std::int32_t>(row)) + from,
                          target.Row(static_cast<std::int32_t>(row)) + to, colour);
        }
        penX += glyph.advance;
    });
}

} // namespace ruvo
