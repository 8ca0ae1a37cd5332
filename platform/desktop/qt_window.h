// The game window on Qt: a fixed-size main window with the menu bar, the
// accelerators, the game timer, the play field that shows the frame buffer,
// and the message loop.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <QPixmap>

#include "app/shell.h"

class QString;
class QWidget;

namespace ruvo {

class QtGameWindow;
class QtSettingsStore;
class SdlGamepads;
enum class ReplayUse;

class QtWindowSystem final : public WindowSystem {
  public:
    QtWindowSystem();
    ~QtWindowSystem() override;

    bool RegisterGameClass(std::string_view className, const ProgramIcons& icons) override;
    std::int32_t GetSystemMetric(SystemMetric metric) override;
    GameWindow* CreateGameWindow(GameRecord& record, std::string_view className, std::string_view title,
                                 std::int32_t width, std::int32_t height) override;
    void LoadAcceleratorTable() override;
    int RunMessageLoop() override;

    // The play field (the window's client area under the menu bar), or null
    // before the window exists and after it is destroyed. Dialogs are placed
    // relative to it and owned by its window.
    QWidget* PlayField() const;
    // The program's 32 x 32 icon, as the class was registered with it.
    QPixmap LargeIcon() const;

    // The store the window reads its view choice from at creation and hands
    // every change to, to be saved with the game's values. Without one the
    // window starts automatic and windowed.
    void KeepViewIn(QtSettingsStore* store);
    // A replay file to watch or race as soon as the window shows the title.
    void PlayAtStart(const QString& path, ReplayUse use);
    // Null before the window exists.
    QtGameWindow* Window() const;
    SdlGamepads* Gamepads() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace ruvo
