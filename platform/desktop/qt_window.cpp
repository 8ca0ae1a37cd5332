// The fixed-size main window with its menu bar and field.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_window.h"
#include "platform/desktop/template_dialog.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "platform/desktop/qt_game_window.h"
#include "platform/desktop/qt_settings.h"
#include "platform/desktop/sdl_audio_device.h"
#include "platform/desktop/sdl_gamepad.h"
#include "platform/desktop/termination_watch.h"
#include "platform/kit/view_choice.h"
#include "render/icon.h"

namespace ruvo {
namespace {

} // namespace

struct QtWindowSystem::State {
    QString className;
    QIcon icon;
    QPixmap largeIcon; // the About box's
    QtSettingsStore* viewKeeper = nullptr;
    std::unique_ptr<QtGameWindow> window;
    std::unique_ptr<SdlGamepads> gamepads; // goes before the window it presses on
    std::unique_ptr<TerminationWatch> termination;
    int menuHeight = -1;
    QString playAtStart;
    ReplayUse useAtStart{};
};

QtWindowSystem::QtWindowSystem() : state_(std::make_unique<State>()) {}

QtWindowSystem::~QtWindowSystem() = default;

QPixmap QtWindowSystem::LargeIcon() const
{
    return state_->largeIcon;
}

bool QtWindowSystem::RegisterGameClass(std::string_view className, const ProgramIcons& icons)
{
    if (className.empty())
        return false;
    state_->className = QString::fromUtf8(className.data(), static_cast<qsizetype>(className.size()));
    state_->icon = QIcon();
    state_->largeIcon = IconPixmap(icons.largeIcon);
    for (const SpritePair* pair : {&icons.largeIcon, &icons.smallIcon}) {
        const QPixmap pixmap = IconPixmap(*pair);
        if (!pixmap.isNull())
            state_->icon.addPixmap(pixmap);
    }
    return true;
}

// Qt's window manager draws the frame and the caption outside the window's
// geometry, so only the menu bar counts against the client area.
std::int32_t QtWindowSystem::GetSystemMetric(SystemMetric metric)
{
    switch (metric) {
    case SystemMetric::CxDlgFrame:
    case SystemMetric::CyDlgFrame:
    case SystemMetric::CyCaption:
        return 0;
    case SystemMetric::CyMenu:
        if (state_->menuHeight < 0)
            state_->menuHeight = MenuBarHeight(kFieldWidth);
        return state_->menuHeight;
    }
    return 0;
}

GameWindow* QtWindowSystem::CreateGameWindow(GameRecord& record, std::string_view className, std::string_view title,
                                             std::int32_t width, std::int32_t height)
{
    // The game computed the outer size from the field and the menu bar's
    // height; the window is built from those two directly, so that the field
    // is exact whatever the rounding.
    (void)width;
    (void)height;
    if (state_->className.isEmpty() ||
        state_->className != QString::fromUtf8(className.data(), static_cast<qsizetype>(className.size())))
        return nullptr;
    WindowLook look;
    look.className = state_->className;
    look.title = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
    look.icon = state_->icon;
    const ViewChoice view = state_->viewKeeper != nullptr ? ReadViewChoice(*state_->viewKeeper) : ViewChoice{};
    state_->gamepads.reset();
    state_->window = std::make_unique<QtGameWindow>(record, look, view, state_->viewKeeper);
    QtGameWindow* window = state_->window.get();
    MainWndProc(record, Message{MessageKind::Create, 0, window});
    state_->gamepads = std::make_unique<SdlGamepads>([window](PadButton button) { window->PadPress(button); });
    SdlGamepads* gamepads = state_->gamepads.get();
    window->CallBeforeTicks([gamepads] {
        gamepads->BeforeTick();
        RestAudioDeviceWhenQuiet();
    });
    return window;
}

void QtWindowSystem::LoadAcceleratorTable()
{
    if (state_->window)
        state_->window->AttachAccelerators();
}

int QtWindowSystem::RunMessageLoop()
{
    if (!state_->window)
        return 0;
    // The quit may already have been posted, before there was a loop to end.
    if (const std::optional<int> code = state_->window->QuitCode())
        return *code;
    // Only the game's own quit ends the loop, not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    // Asked to end (a logout, kill), the game closes as by its close box,
    // saving its settings.
    QtGameWindow* window = state_->window.get();
    // The replay file named at start, once the loop runs (its error box, if
    // any, over the game's window).
    if (!state_->playAtStart.isEmpty() && window->Frame() != nullptr)
        QTimer::singleShot(0, window->Frame(), [window, path = state_->playAtStart, use = state_->useAtStart] {
            window->WatchFile(path, use);
        });
    state_->termination = std::make_unique<TerminationWatch>([window] {
        if (QWidget* frame = window->Frame())
            frame->close();
    });
    const int code = QApplication::exec();
    state_->termination.reset();
    return code;
}

QWidget* QtWindowSystem::PlayField() const
{
    return state_->window ? state_->window->Field() : nullptr;
}

void QtWindowSystem::KeepViewIn(QtSettingsStore* store)
{
    state_->viewKeeper = store;
}

void QtWindowSystem::PlayAtStart(const QString& path, ReplayUse use)
{
    state_->playAtStart = path;
    state_->useAtStart = use;
}

QtGameWindow* QtWindowSystem::Window() const
{
    return state_->window.get();
}

SdlGamepads* QtWindowSystem::Gamepads() const
{
    return state_->gamepads.get();
}

} // namespace ruvo
