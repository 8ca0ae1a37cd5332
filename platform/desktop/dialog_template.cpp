// The dialog templates' font and units on Qt.
// SPDX-License-Identifier: MIT
#include "platform/desktop/dialog_template.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ruvo {

QFont DialogFont()
{
    static const QString face = QString::fromUtf8(kDialogFace);
    if (QFont::substitutes(face).isEmpty())
        QFont::insertSubstitutions(face, {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                                          QStringLiteral("IPA Pゴシック"), QStringLiteral("VL PGothic")});
    QFont font(face);
    // 9 points on the 96-dpi grid the layouts were made for; Qt scales the
    // whole dialog on denser screens.
    font.setPixelSize(kDialogFontPixels);
    return font;
}

QRect ToPixels(const DialogUnits& units, const UnitRect& rect)
{
    return {units.ToPixelsX(rect.x), units.ToPixelsY(rect.y), units.ToPixelsX(rect.width),
            units.ToPixelsY(rect.height)};
}

DialogUnits MeasureDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    return DialogUnitsFromFont(metrics.horizontalAdvance(QString::fromLatin1(kDialogUnitLetters)), metrics.height());
}

QPoint DialogPosition(const QWidget* playField, QPoint offset, QSize size)
{
    QScreen* screen = playField != nullptr ? playField->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    QPoint position;
    if (playField != nullptr)
        position = playField->mapToGlobal(QPoint(0, 0)) + offset;
    else
        position = available.center() - QPoint(size.width() / 2, size.height() / 2);
    if (available.isValid()) {
        position.setX(std::max(available.left(), std::min(position.x(), available.right() + 1 - size.width())));
        position.setY(std::max(available.top(), std::min(position.y(), available.bottom() + 1 - size.height())));
    }
    return position;
}

} // namespace ruvo
