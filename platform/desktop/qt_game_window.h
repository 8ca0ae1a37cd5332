// The game window on Qt: the engine's GameWindow, holding the main window
// widget, its menu, its timers and its play field. It outlives the widgets:
// after Destroy the engine may still ask it to kill the timer.
#pragma once

#include <QIcon>
#include <QPointer>
#include <QString>

#include <map>
#include <memory>
#include <optional>

#include "app/shell.h"
#include "platform/desktop/qt_menu.h"

class QTimer;

namespace ruvo {

class GameFrame;
class PlayField;

struct WindowLook {
    QString className; // becomes the X11 WM_CLASS class
    QString title;
    QIcon icon;
};

class QtGameWindow final : public GameWindow {
  public:
    QtGameWindow(GameRecord& record, const WindowLook& look);
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

    // Hands a message to the window procedure; once the window is destroyed
    // nothing more reaches the game.
    void Deliver(const Message& message);
    void AttachAccelerators();
    std::optional<int> QuitCode() const { return quitCode_; }

    // Null once destroyed.
    QWidget* Frame() const;
    QWidget* Field() const;
    QAction* Action(MenuId item) const;

  private:
    GameRecord& record_;
    QPointer<GameFrame> frame_;
    QPointer<PlayField> field_;
    MenuActions actions_;
    std::map<std::int32_t, std::unique_ptr<QTimer>> timers_;
    bool destroyed_ = false;
    std::optional<int> quitCode_;
};

// The height of the game's menu bar on one line, in a window as wide as the field.
int MenuBarHeight(int width);

} // namespace ruvo
