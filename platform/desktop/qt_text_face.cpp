// How a font request of the game becomes a Qt font.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_text_face.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace ruvo {
namespace {

struct Substitute {
    const char* requested; // UTF-8
    const char* standIn;
};

// Arial is Liberation Sans by fontconfig's metric aliases already; saying so
// here keeps it so where those aliases are missing. The Japanese Gothic faces
// have no alias at all, and a generic sans would be far too wide for the logo.
constexpr Substitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"ＭＳ ゴシック", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
};

QFont BaseFont(const FontRequest& request)
{
    QFont font(QString::fromStdString(request.faceName));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(request.weight > 0 ? request.weight : 400, 100, 900)));
    // Solid pixels, whole-pixel advances and no pair kerning: every letter
    // looks the same wherever it stands, as the game's text always did.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
}

// A positive request is the height of the whole character cell. Sizes step
// by whole pixels, so the cell rarely matches exactly: take the tallest cell
// that is not taller than asked, and of the sizes that give it the smallest,
// whose letters stay narrowest (an 18-pixel status line must fit the field).
int PixelSizeForCell(QFont font, int cellHeight)
{
    int best = 1;
    int bestHeight = 0;
    for (int size = cellHeight; size >= 1; --size) {
        font.setPixelSize(size);
        const int height = QFontMetrics(font).height();
        if (height > cellHeight)
            continue;
        if (bestHeight != 0 && height < bestHeight)
            break;
        bestHeight = height;
        best = size;
    }
    return best;
}

int InkCount(const QFont& font, QChar letter)
{
    const QFontMetrics metrics(font);
    QImage image(metrics.maxWidth() * 2 + 8, metrics.height() * 2 + 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(4, 4 + metrics.ascent()), QString(letter));
    painter.end();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        ink += static_cast<int>(std::count_if(row, row + image.width(), [](QRgb p) { return qAlpha(p) != 0; }));
    }
    return ink;
}

// Qt thickens a face without a bold of its own only up to a certain size;
// past it bold letters come out exactly as the regular ones.
bool BoldComesOutRegular(const QFont& bold)
{
    QFont regular = bold;
    regular.setWeight(QFont::Normal);
    return InkCount(bold, QLatin1Char('H')) <= InkCount(regular, QLatin1Char('H'));
}

} // namespace

void RegisterFaceSubstitutes()
{
    for (const Substitute& s : kSubstitutes) {
        const QString requested = QString::fromUtf8(s.requested);
        if (!QFont::substitutes(requested).contains(QString::fromUtf8(s.standIn)))
            QFont::insertSubstitution(requested, QString::fromUtf8(s.standIn));
    }
}

TextFace ChooseFace(const FontRequest& request)
{
    TextFace face;
    face.font = BaseFont(request);
    if (request.height > 0) {
        face.font.setPixelSize(PixelSizeForCell(face.font, request.height));
        // Whatever the cell has to spare goes above the letters, as internal
        // leading does.
        face.cellHeight = request.height;
        face.baseline = request.height - QFontMetrics(face.font).descent();
    } else {
        face.font.setPixelSize(request.height < 0 ? -request.height : 16);
        const QFontMetrics metrics(face.font);
        face.cellHeight = metrics.height();
        face.baseline = metrics.ascent();
    }
    if (face.font.weight() >= QFont::DemiBold && BoldComesOutRegular(face.font)) {
        face.embolden = true;
        face.strokeWidth = std::max(1.0, std::round(face.font.pixelSize() / 24.0));
    }
    return face;
}

void PaintLetters(QPainter& painter, const TextFace& face, const QPointF& origin, const QString& text)
{
    if (!face.embolden) {
        painter.setFont(face.font);
        painter.drawText(origin, text);
        return;
    }
    const QColor colour = painter.pen().color();
    QPainterPath outline;
    outline.addText(origin, face.font, text);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(outline, colour);
    painter.strokePath(outline, QPen(colour, face.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.restore();
}

} // namespace ruvo
