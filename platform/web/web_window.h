// The game window in the browser: the page's canvas, its HTML menu and its
// timer, all kept by the page's scripts; this side only forwards.
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "app/shell.h"

namespace ruvo {

class WebGameWindow final : public GameWindow {
  public:
    explicit WebGameWindow(GameRecord& record) : record_(record) {}

    void Invalidate() override;
    std::int32_t SetTimer(std::int32_t id, std::int32_t periodMs) override;
    void KillTimer(std::int32_t id) override;
    void CheckMenuItem(MenuId item, bool checked) override;
    void EnableMenuItem(MenuId item, bool enabled) override;
    void DrawMenuBar() override {}
    // The canvas is always on the page: showing the window only asks for its
    // first paint, the title's scenery already in the frame buffer.
    void Show(int) override { Invalidate(); }
    void Destroy() override;
    void PostQuit(int exitCode) override;
    // In the page's status bar, outside the field.
    void ShowCaption(std::string_view text) override;

    // Hands a message to the window procedure; once the window is destroyed
    // nothing more reaches the game.
    void Deliver(const Message& message);
    bool Destroyed() const { return destroyed_; }
    std::optional<int> QuitCode() const { return quitCode_; }

  private:
    GameRecord& record_;
    bool destroyed_ = false;
    std::optional<int> quitCode_;
};

class WebWindowSystem final : public WindowSystem {
  public:
    bool RegisterGameClass(std::string_view className, const ProgramIcons& icons) override;
    // The page draws no frame or caption, and its menu bar lies outside the field.
    std::int32_t GetSystemMetric(SystemMetric) override { return 0; }
    GameWindow* CreateGameWindow(GameRecord& record, std::string_view className, std::string_view title,
                                 std::int32_t width, std::int32_t height) override;
    void LoadAcceleratorTable() override {}
    // Never called: the page's events are the loop, each reaching the game
    // through an entry point of web_main.cpp.
    int RunMessageLoop() override { return 0; }

    WebGameWindow* Window() const { return window_.get(); }

  private:
    bool registered_ = false;
    std::unique_ptr<WebGameWindow> window_;
};

} // namespace ruvo
