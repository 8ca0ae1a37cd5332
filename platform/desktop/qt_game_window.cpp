// The engine's game window on Qt.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_game_window.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "app/shell.h"
#include "platform/desktop/qt_play_field.h"
#include "platform/desktop/replays_dialog.h"
#include "platform/desktop/sdl_gamepad.h"
#include "record/drawing.h"

namespace ruvo {
int BarHeight(QMenuBar& bar, int width)
{
    const int height = bar.heightForWidth(width);
    return height > 0 ? height : bar.sizeHint().height();
}

int MenuBarHeight(int width)
{
    QMenuBar bar;
    bar.setNativeMenuBar(false);
    BuildGameMenu(bar);
    return BarHeight(bar, width);
}

QtGameWindow::QtGameWindow(GameRecord& record, const WindowLook& look, const ViewChoice& view,
                           QtSettingsStore* viewKeeper)
    : record_(record), view_(view), viewKeeper_(viewKeeper)
{
    auto* frame = new GameFrame(*this);
    frame_ = frame;
    // A fixed window: it can be minimised and closed, never sized or maximised.
    frame->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    frame->setWindowTitle(look.title);
    frame->setWindowIcon(look.icon);

    QMenuBar* bar = frame->menuBar();
    bar->setNativeMenuBar(false); // in the window, as the game has it, also under a global menu
    actions_ = BuildGameMenu(*bar, &viewActions_);
    for (const auto& [id, action] : actions_) {
        const MenuId command = id;
        QObject::connect(action, &QAction::triggered, frame,
                         [this, command] { Deliver(Message{MessageKind::Command, command}); });
        frame->addAction(action);
    }
    const std::pair<QAction*, ViewStep> viewSteps[] = {
        {viewActions_.zoomIn, ViewStep::ZoomIn},
        {viewActions_.zoomOut, ViewStep::ZoomOut},
        {viewActions_.automaticSize, ViewStep::AutomaticSize},
        {viewActions_.fullScreen, ViewStep::FullScreen},
    };
    for (const auto& [action, step] : viewSteps) {
        QObject::connect(action, &QAction::triggered, frame, [this, step = step] { StepView(step); });
        frame->addAction(action);
    }

    auto* backdrop = new FieldBackdrop;
    field_ = new PlayField(*this, QSize(record.game.fieldWidth, record.game.fieldHeight), backdrop);
    frame->setCentralWidget(backdrop);
    ApplyView();

    // X11 takes WM_CLASS's class from the application name when the first
    // native window is made (and keeps it for all later ones, the dialogs
    // too): make ours now, under the game's window class.
    const QString applicationName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(look.className);
    frame->winId();
    QCoreApplication::setApplicationName(applicationName);
    // A screen unplugged under the window sends it to another without a move.
    QObject::connect(frame->windowHandle(), &QWindow::screenChanged, frame, [this] { FollowScreen(); });
}

QtGameWindow::~QtGameWindow()
{
    timers_.clear();
    delete frame_.data();
}

void QtGameWindow::Invalidate()
{
    if (Field() == nullptr)
        return;
    // A race's ghost is a square of its own over the frame: the field takes
    // the two as they are, never a copy of the whole frame with the ghost.
    const Drawing& drawing = record_.drawing;
    FieldPatch ghost;
    if (drawing.ghostShown && drawing.shownBitmap)
        ghost = {drawing.shownBitmap.get(), drawing.ghostArea};
    field_->ShowChanges(drawing.frameBitmap.get(), std::span(&ghost, ghost.pixels != nullptr ? 1 : 0), ticking_);
}

std::int32_t QtGameWindow::SetTimer(std::int32_t id, std::int32_t periodMs)
{
    if (destroyed_)
        return 0;
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        // A tick that falls due while the game is busy comes once, not as a backlog.
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] {
            if (beforeTick_)
                beforeTick_();
            ticking_ = true;
            Deliver(Message{MessageKind::Timer, static_cast<std::uint32_t>(id)});
            ticking_ = false;
            // What the tick drew goes to the screen now, in one piece.
            if (Field() != nullptr)
                field_->PresentChanges();
        });
    }
    timer->start(std::max(periodMs, kShortestTimerMs));
    return id;
}

void QtGameWindow::KillTimer(std::int32_t id)
{
    const auto it = timers_.find(id);
    if (it != timers_.end())
        it->second->stop();
}

void QtGameWindow::CheckMenuItem(MenuId item, bool checked)
{
    if (QAction* action = Action(item)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

void QtGameWindow::EnableMenuItem(MenuId item, bool enabled)
{
    if (QAction* action = Action(item))
        action->setEnabled(enabled);
}

// Qt redraws the menu bar by itself whenever an item changes.
void QtGameWindow::DrawMenuBar() {}

// The desktop's main() asks for a normal window, the only way it is shown.
// Full screen, when chosen, is already the window's state.
void QtGameWindow::Show(int)
{
    if (QWidget* frame = Frame()) {
        frame->show();
        frame->activateWindow();
    }
}

void QtGameWindow::Destroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    // The surfaces are gone by now: no tick, paint or input may reach the game again.
    for (auto& [id, timer] : timers_)
        timer->stop();
    if (frame_) {
        frame_->hide();
        frame_->deleteLater();
    }
    MainWndProc(record_, Message{MessageKind::Destroy});
}

void QtGameWindow::ShowCaption(std::string_view text)
{
    if (QWidget* frame = Frame())
        frame->setWindowTitle(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void QtGameWindow::WatchFile(const QString& path, ReplayUse use)
{
    if (QWidget* frame = Frame())
        WatchReplayFile(record_, path, frame, use);
}

void QtGameWindow::PostQuit(int exitCode)
{
    quitCode_ = exitCode;
    QCoreApplication::exit(exitCode);
}

void QtGameWindow::Deliver(const Message& message)
{
    if (!destroyed_)
        MainWndProc(record_, message);
}

void QtGameWindow::AttachAccelerators()
{
    if (!destroyed_)
        ruvo::AttachAccelerators(actions_);
}

void QtGameWindow::PadPress(PadButton button)
{
    QWidget* frame = Frame();
    // As with the keys: nothing reaches the game while a dialog or another
    // program has the keyboard.
    if (frame == nullptr || !frame->isActiveWindow() || QApplication::activeModalWidget() != nullptr)
        return;
    switch (button) {
    case PadButton::Dive:
        Deliver(Message{MessageKind::Char, kDiveCharacter});
        break;
    case PadButton::Start:
        for (const MenuId command : kStartButtonCommands) {
            QAction* action = Action(command);
            if (action != nullptr && action->isEnabled()) {
                action->trigger();
                break;
            }
        }
        break;
    }
}

QWidget* QtGameWindow::Frame() const
{
    return destroyed_ ? nullptr : frame_.data();
}

QWidget* QtGameWindow::Field() const
{
    return destroyed_ ? nullptr : field_.data();
}

QAction* QtGameWindow::Action(MenuId item) const
{
    const auto it = actions_.find(item);
    return destroyed_ || it == actions_.end() ? nullptr : it->second;
}

} // namespace ruvo
