// How a font request of the game becomes a Qt font: the face that stands in
// for the named one, the size whose character cell fits the requested height,
// and the way its solid letters are painted.
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>

#include "record/host.h"

class QPainter;
class QPointF;

namespace ruvo {

struct TextFace {
    QFont font;
    std::int32_t cellHeight = 0; // what Measure reports as the text height
    std::int32_t baseline = 0;   // from the top of the cell
    // Bold asked of a face that has no bold of its own, at a size where Qt
    // no longer thickens the letters itself: we stroke their outlines.
    bool embolden = false;
    qreal strokeWidth = 0;
};

// Names the game asks for that the system lacks, with the face that stands
// in for each. Registered with QFont once, so that dialogs find them too.
void RegisterFaceSubstitutes();

TextFace ChooseFace(const FontRequest& request);

// Paints text in the pen's colour with its baseline starting at origin:
// solid letters, nothing behind them.
void PaintLetters(QPainter& painter, const TextFace& face, const QPointF& origin, const QString& text);

} // namespace ruvo
