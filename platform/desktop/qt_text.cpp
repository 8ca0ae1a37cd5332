#include "platform/desktop/qt_text.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/desktop/qt_text_face.h"
#include "render/surface.h"

namespace ruvo {
namespace {

// One horizontal stretch of a letter's pixels, relative to the pen position
// on the top line of the text cell.
struct Run {
    std::int32_t dx;
    std::int32_t dy;
    std::int32_t length;
};

struct Glyph {
    std::vector<Run> runs;
    std::int32_t advance = 0;
};

// The game draws the status line on every tick: each letter is rendered by
// Qt once, kept as runs of pixels, and strings are laid from those.
struct CachedFont {
    TextFace face;
    std::array<std::unique_ptr<Glyph>, 128> ascii{};
    std::unordered_map<char32_t, Glyph> others;
};

Glyph RenderGlyph(const TextFace& face, char32_t codePoint)
{
    const QString letter = QString::fromUcs4(&codePoint, 1);
    Glyph glyph;
    glyph.advance = QFontMetrics(face.font).horizontalAdvance(letter);

    // Room enough around the cell for overhangs, italics and the stroke.
    const int pad = face.font.pixelSize() + static_cast<int>(face.strokeWidth) + 4;
    QImage image(std::max(glyph.advance, 0) + 2 * pad, face.cellHeight + 2 * pad, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::white);
    PaintLetters(painter, face, QPointF(pad, pad + face.baseline), letter);
    painter.end();

    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            if (qAlpha(row[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < image.width() && qAlpha(row[x]) != 0)
                ++x;
            glyph.runs.push_back({start - pad, y - pad, x - start});
        }
    }
    return glyph;
}

const Glyph& GlyphFor(CachedFont& font, char32_t codePoint)
{
    if (codePoint < font.ascii.size()) {
        auto& slot = font.ascii[codePoint];
        if (!slot)
            slot = std::make_unique<Glyph>(RenderGlyph(font.face, codePoint));
        return *slot;
    }
    auto it = font.others.find(codePoint);
    if (it == font.others.end())
        it = font.others.emplace(codePoint, RenderGlyph(font.face, codePoint)).first;
    return it->second;
}

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

} // namespace

struct QtTextRenderer::State {
    std::map<FontId, std::unique_ptr<CachedFont>> fonts;
    FontId nextId = 1;

    CachedFont* Find(FontId id)
    {
        const auto it = fonts.find(id);
        return it == fonts.end() ? nullptr : it->second.get();
    }
};

QtTextRenderer::QtTextRenderer() : state_(std::make_unique<State>())
{
    RegisterFaceSubstitutes();
}

QtTextRenderer::~QtTextRenderer() = default;

FontId QtTextRenderer::CreateFont(const FontRequest& request)
{
    auto font = std::make_unique<CachedFont>();
    font->face = ChooseFace(request);
    const FontId id = state_->nextId++;
    state_->fonts.emplace(id, std::move(font));
    return id;
}

void QtTextRenderer::DeleteFont(FontId font)
{
    state_->fonts.erase(font);
}

TextExtent QtTextRenderer::Measure(FontId font, std::string_view text)
{
    CachedFont* cached = state_->Find(font);
    if (cached == nullptr)
        return {};
    std::int64_t width = 0;
    ForEachCodePoint(text, [&](char32_t c) { width += GlyphFor(*cached, c).advance; });
    return {static_cast<std::int32_t>(std::clamp<std::int64_t>(width, INT32_MIN, INT32_MAX)), cached->face.cellHeight};
}

void QtTextRenderer::Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
                          std::string_view text)
{
    CachedFont* cached = state_->Find(font);
    if (cached == nullptr)
        return;
    const Pixel colour = PixelFromColorRef(colorRef);
    const std::int64_t width = target.Width();
    const std::int64_t height = target.Height();
    std::int64_t penX = x;
    ForEachCodePoint(text, [&](char32_t c) {
        const Glyph& glyph = GlyphFor(*cached, c);
        for (const Run& run : glyph.runs) {
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
