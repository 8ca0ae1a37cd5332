// The Qt side of the game's dialog templates: the dialog font, the dialog
// units it gives, and where on the screen a dialog goes.
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>

#include "settings/dialog_templates.h"

class QWidget;

namespace ruvo {

// The face the dialogs were designed with; where the system lacks it, a
// Japanese proportional Gothic of the same build stands in.
QFont DialogFont();

QRect ToPixels(const DialogUnits& units, const UnitRect& rect);

DialogUnits MeasureDialogUnits(const QFont& font);

// Where a dialog's top-left corner goes on the screen: at the template's
// position relative to the play field's top-left corner; without a play field,
// centred on the screen. Kept within the screen either way.
QPoint DialogPosition(const QWidget* playField, QPoint offset, QSize size);

} // namespace ruvo
