// A modal Qt dialog laid out from one of the game's templates.
// SPDX-License-Identifier: MIT
#include "platform/desktop/template_dialog.h"

#include <algorithm>

#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "render/icon.h"

namespace ruvo {
namespace {

constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

Qt::Alignment TextAlignment(ControlStyle style)
{
    Qt::Alignment across = Qt::AlignLeft;
    if (style & kCentred)
        across = Qt::AlignHCenter;
    else if (style & kRightAligned)
        across = Qt::AlignRight;
    return across | ((style & kCentredVertically) ? Qt::AlignVCenter : Qt::AlignTop);
}

// A fixed text that the substitute face draws wider than the dialog's own
// face would be clipped; it may spill into the free margin beside it instead,
// centred texts to both sides, left-aligned ones to the right.
QRect FitFixedText(QRect rect, int textWidth, ControlStyle style, int clientWidth)
{
    const int needed = textWidth + 2;
    if (needed <= rect.width() || (style & kSunken))
        return rect;
    if (style & kCentred) {
        const int width = std::min(needed, clientWidth);
        const int left = std::clamp(rect.center().x() + 1 - width / 2, 0, clientWidth - width);
        return {left, rect.y(), width, rect.height()};
    }
    if (!(style & kRightAligned))
        rect.setWidth(std::min(needed, clientWidth - rect.x()));
    return rect;
}

} // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& layout, QWidget* playField, QPixmap icon)
    : QDialog(playField != nullptr ? playField->window() : nullptr, kDialogFlags), icon_(std::move(icon))
{
    setWindowTitle(QString::fromUtf8(layout.title));
    setFont(DialogFont());
    units_ = MeasureDialogUnits(font());
    // Modal to the game window only: the help window stays usable.
    if (playField != nullptr)
        setWindowModality(Qt::WindowModal);

    const QRect client = ToPixels(units_, layout.rect);
    setFixedSize(client.size());
    for (const ControlTemplate& control : layout.controls)
        AddControl(control);
    move(DialogPosition(playField, client.topLeft(), client.size()));

    // The first control that takes the focus gets it, an edit with its text selected.
    for (const ControlTemplate& control : layout.controls) {
        QWidget* widget = Control(control.id);
        if (widget == nullptr || widget->focusPolicy() == Qt::NoFocus)
            continue;
        widget->setFocus(Qt::TabFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->selectAll();
        break;
    }
}

void TemplateDialog::AddControl(const ControlTemplate& control)
{
    const QRect rect = ToPixels(units_, control.rect);
    const QString text = QString::fromUtf8(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Text: {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(TextAlignment(control.style));
        // Without vertical centring a text wraps at word boundaries.
        label->setWordWrap(!(control.style & kCentredVertically));
        if (control.style & kSunken) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setLineWidth(1);
        }
        label->setGeometry(FitFixedText(rect, label->fontMetrics().horizontalAdvance(text), control.style, width()));
        widget = label;
        break;
    }
    case ControlKind::Icon: {
        // An icon control takes the size of its picture, whatever the template says.
        auto* label = new QLabel(this);
        const QPixmap& picture = icon_;
        label->setPixmap(picture);
        label->setGeometry(QRect(rect.topLeft(), picture.isNull() ? QSize(32, 32) : picture.size()));
        widget = label;
        break;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(text, this);
        edit->setGeometry(rect);
        widget = edit;
        break;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(text, this);
        // Enter is handled by the dialog itself (keyPressEvent); the default
        // button is only marked as such.
        button->setAutoDefault(false);
        button->setDefault((control.style & kDefaultButton) != 0);
        button->setGeometry(rect);
        const int id = control.id;
        connect(button, &QPushButton::clicked, this, [this, id] { Command(id); });
        widget = button;
        break;
    }
    }
    widget->setFocusPolicy(control.kind == ControlKind::Edit || control.kind == ControlKind::Button ? Qt::StrongFocus
                                                                                                    : Qt::NoFocus);
    if (control.id != kNoControlId)
        widget->setObjectName(QString::number(control.id));
}

QWidget* TemplateDialog::Control(int id) const
{
    if (id == kNoControlId)
        return nullptr;
    return findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

QLineEdit* TemplateDialog::Edit(int id) const
{
    return qobject_cast<QLineEdit*>(Control(id));
}

QLabel* TemplateDialog::Text(int id) const
{
    return qobject_cast<QLabel*>(Control(id));
}

void TemplateDialog::reject()
{
    Command(kCancelId);
}

void TemplateDialog::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Enter presses the button that has the focus; anywhere else it means OK.
    int id = kOkId;
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button != nullptr)
        id = button->objectName().toInt();
    Command(id);
}

void TemplateDialog::Command(int id)
{
    if (handler_) {
        handler_(id);
        return;
    }
    if (id == kOkId || id == kCancelId)
        done(0);
}

// The icon's picture, transparent where its mask is white.
QPixmap IconPixmap(const SpritePair& icon)
{
    if (!icon.image || !icon.mask)
        return {};
    const int width = std::min(icon.image->Width(), icon.mask->Width());
    const int height = std::min(icon.image->Height(), icon.mask->Height());
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool transparent = (icon.mask->At(x, y) & kColourBits) == kWhite;
            line[x] = transparent ? 0u : 0xFF000000u | (icon.image->At(x, y) & kColourBits);
        }
    }
    return QPixmap::fromImage(picture);
}

} // namespace ruvo
