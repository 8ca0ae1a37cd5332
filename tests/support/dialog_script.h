// Drives the game's modal dialogs from inside their own event loop: each
// dialog that opens gets the next scripted action, made of keys typed and
// buttons clicked as the keyboard and the mouse would deliver them.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include "platform/desktop/template_dialog.h"

namespace ruvo::testing {

// A key pressed and released with the widget in focus; a key it ignores goes
// on to its parents, up to the dialog.
inline void PressKey(QWidget* widget, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// Each character as one key stroke, as a keyboard or an input method sends it.
inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        PressKey(widget, Qt::Key_unknown, QString(c));
}

// The left mouse button pressed and released in the middle of the button.
inline void Click(QAbstractButton* button)
{
    const QPointF local = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &release);
}

// Answers the modal dialogs as they open, each with the next action. An
// action must leave its dialog closed; one that does not is a failure, and
// the dialog is closed by force so that the test ends.
class DialogScript {
  public:
    using Action = std::function<void(TemplateDialog&)>;

    explicit DialogScript(std::vector<Action> actions) : actions_(std::move(actions))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
        poll_.start(1);
    }

    std::size_t Opened() const { return opened_; }

  private:
    void Poll()
    {
        auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == current_ || !dialog->isVisible())
            return;
        current_ = dialog;
        if (opened_ < actions_.size())
            actions_[opened_](*dialog);
        else
            ADD_FAILURE() << "an unexpected dialog opened: " << dialog->windowTitle().toStdString();
        ++opened_;
        if (current_ != nullptr && current_->isVisible()) {
            ADD_FAILURE() << "the dialog stayed open: " << dialog->windowTitle().toStdString();
            current_->done(-1);
        }
    }

    std::vector<Action> actions_;
    std::size_t opened_ = 0;
    QPointer<TemplateDialog> current_;
    QTimer poll_;
};

} // namespace ruvo::testing
