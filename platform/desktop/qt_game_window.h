// The game window on Qt: the engine's GameWindow, holding the main window
// widget, its menu, its timers and its play field. It outlives the widgets:
// after Destroy the engine may still ask it to kill the timer.
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/shell.h"
#include "platform/desktop/qt_menu.h"
#include "platform/kit/view_choice.h"

class QMenuBar;
class QScreen;
class QTimer;

namespace ruvo {

class GameFrame;
class PlayField;
class QtSettingsStore;
enum class ReplayUse;
enum class PadButton;

struct WindowLook {
    QString className; // becomes the X11 WM_CLASS class
    QString title;
    QIcon icon;
};

class QtGameWindow final : public GameWindow {
  public:
    // The view starts as chosen; every change is handed to the keeper (when
    // there is one), which saves it with the game's settings.
    QtGameWindow(GameRecord& record, const WindowLook& look, const ViewChoice& view = {},
                 QtSettingsStore* viewKeeper = nullptr);
    ~QtGameWindow() override;

    void Invalidate() override;
    std::int32_t SetTimer(std::int32_t id, std::int32_t periodMs) override;
    void KillTimer(std::int32_t id) override;
    void CheckMenuItem(MenuId item, bool checked) override;
    void EnableMenuItem(MenuId item, bool enabled) override;
    void DrawMenuBar() override;
    void Show(int showCommand) override;
    void Destroy() override;
    void PostQuit(int exitCode) override;
    void ShowCaption(std::string_view text) override;

    // Hands a message to the window procedure; once the window is destroyed
    // nothing more reaches the game.
    void Deliver(const Message& message);
    // A replay plays in the window (app/replay_watch.h).
    bool Watching() const { return record_.watch != nullptr; }
    // Starts watching or racing a replay file; an error goes to a message box.
    void WatchFile(const QString& path, ReplayUse use);
    void AttachAccelerators();
    std::optional<int> QuitCode() const { return quitCode_; }

    // The View menu's items and keys (qt_window_view.cpp); a greyed one does nothing.
    void StepView(ViewStep step);
    // Sizes the window anew when it has come onto another screen.
    void FollowScreen();
    ViewChoice View() const { return view_; }
    int ShownZoom() const;

    // A controller's button, as the keys would do it: only while the game
    // window is the active one, and through the menu's commands.
    void PadPress(PadButton button);
    // Called before every tick is delivered.
    void CallBeforeTicks(std::function<void()> call) { beforeTick_ = std::move(call); }

    // Null once destroyed.
    QWidget* Frame() const;
    QWidget* Field() const;
    QAction* Action(MenuId item) const;
    const ViewActions& ViewItems() const { return viewActions_; }

  private:
    // Sizes the field and the window for the view choice and greys what
    // cannot be done from there.
    void ApplyView();

    GameRecord& record_;
    QPointer<GameFrame> frame_;
    QPointer<PlayField> field_;
    MenuActions actions_;
    ViewActions viewActions_;
    ViewChoice view_;
    int largestZoom_ = 1; // the largest the screen holds, as of the last sizing
    QtSettingsStore* viewKeeper_;
    QPointer<QScreen> viewScreen_; // the screen the view was last sized for
    QMetaObject::Connection screenWatch_;
    std::map<std::int32_t, std::unique_ptr<QTimer>> timers_;
    bool destroyed_ = false;
    bool ticking_ = false;
    std::optional<int> quitCode_;
    std::function<void()> beforeTick_;
};

// The height of the game's menu bar on one line, in a window as wide as the field.
int MenuBarHeight(int width);
// The height a menu bar takes in a window of that width.
int BarHeight(QMenuBar& bar, int width);

} // namespace ruvo
