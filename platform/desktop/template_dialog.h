// A modal dialog laid out from one of the game's dialog templates. However
// the player answers it - a button, Enter, Escape or the close box - the
// answer arrives as one command with a control id, and the handler decides
// what it means and whether the dialog closes. Without a handler, OK and
// Cancel close it with 0.
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <utility>

#include <QDialog>
#include <QPixmap>

#include "platform/desktop/dialog_template.h"
#include "render/sprite.h"

class QLabel;
class QLineEdit;

namespace ruvo {

// An icon's picture, transparent where its mask is white.
QPixmap IconPixmap(const SpritePair& icon);

class TemplateDialog final : public QDialog {
    Q_OBJECT

  public:
    using CommandHandler = std::function<void(int commandId)>;

    // Owned by the play field's window and placed relative to the play
    // field; with no play field, a free dialog centred on the screen. An
    // icon control shows icon.
    TemplateDialog(const DialogTemplate& layout, QWidget* playField, QPixmap icon = {});

    void OnCommand(CommandHandler handler) { handler_ = std::move(handler); }

    // Controls by their template id; null when there is no such control.
    QWidget* Control(int id) const;
    QLineEdit* Edit(int id) const;
    QLabel* Text(int id) const;

    // Adds a control to those of the template, placed in its dialog units.
    void AddControl(const ControlTemplate& control);

    // Escape and the close box both end up here.
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Command(int id);

    DialogUnits units_;
    CommandHandler handler_;
    QPixmap icon_;
};

} // namespace ruvo
