// Text for the engine drawn with Qt's fonts.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_text.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/desktop/qt_text_face.h"
#include "render/glyph_runs.h"
#include "render/surface.h"

namespace ruvo {
namespace {

struct CachedFont {
    TextFace face;
    std::unique_ptr<GlyphCache> glyphs;
};

Glyph RenderGlyph(const TextFace& face, char32_t codePoint)
{
    const QString letter = QString::fromUcs4(&codePoint, 1);
    Glyph glyph;
    glyph.advance = QFontMetrics(face.font).horizontalAdvance(letter);

    // Room enough around the cell for overhangs and the stroke.
    const int pad = face.font.pixelSize() + static_cast<int>(face.strokeWidth) + 4;
    QImage image(std::max(glyph.advance, 0) + 2 * pad, face.cellHeight + 2 * pad, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::white);
    PaintLetters(painter, face, QPointF(pad, pad + face.baseline), letter);
    painter.end();

    std::vector<std::uint8_t> mask(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            mask[static_cast<std::size_t>(y) * image.width() + x] = qAlpha(row[x]) != 0 ? 1 : 0;
    }
    glyph.runs = RunsFromMask(mask.data(), image.width(), image.height(), pad);
    return glyph;
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

FontId QtTextRenderer::MakeFont(const FontRequest& request)
{
    auto font = std::make_unique<CachedFont>();
    font->face = ChooseFace(request);
    const TextFace* face = &font->face;
    font->glyphs =
        std::make_unique<GlyphCache>([face](char32_t c) { return RenderGlyph(*face, c); }, font->face.cellHeight);
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
    return cached == nullptr ? TextExtent{} : cached->glyphs->Measure(text);
}

void QtTextRenderer::Draw(Surface& target, FontId font, std::uint32_t colorRef, std::int32_t x, std::int32_t y,
                          std::string_view text)
{
    if (CachedFont* cached = state_->Find(font))
        cached->glyphs->Draw(target, PixelFromColorRef(colorRef), x, y, text);
}

} // namespace ruvo
