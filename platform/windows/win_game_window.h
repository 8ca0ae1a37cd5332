// The game window on Win32: the engine's GameWindow over one HWND of the
// class RuvoWClass, with the menu bar, the game's timers, the repaint from
// the frame buffer and the View menu's whole-number zoom and full screen.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "app/shell.h"
#include "platform/kit/view_choice.h"
#include "platform/windows/xinput_pads.h"

namespace ruvo {

class RegistrySettingsStore;
class TickTimer;

class WinGameWindow final : public GameWindow {
  public:
    // The view starts as chosen; every change goes to the keeper, which
    // saves it with the game's settings.
    WinGameWindow(GameRecord& record, const ViewChoice& view, RegistrySettingsStore* viewKeeper);
    ~WinGameWindow() override;

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

    // Once the message loop runs: the note to show the player first
    // (DialogHost::ShowNote), then the replay file to watch or race (either
    // may be empty).
    void StartSoon(std::string note, std::wstring file, bool race);

    // The window procedure's work for this window.
    std::intptr_t Handle(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void Attach(void* hwnd);
    void* Hwnd() const { return hwnd_; }

    // Sizes the window (or fills the screen) for the view choice.
    void ApplyView();

  private:
    void Deliver(const Message& message);
    void Paint();
    void ViewCommand(std::uint16_t command);
    void PadPress(PadButton button);
    // The window is on another monitor than its view was made for.
    void FollowMonitor();

    GameRecord& record_;
    void* hwnd_ = nullptr;
    void* menu_ = nullptr;
    ViewChoice view_;
    RegistrySettingsStore* viewKeeper_;
    int zoom_ = 1;
    int largestZoom_ = 1; // the largest the monitor holds, as of the last sizing
    int fieldX_ = 0;      // the field's place in the client area
    int fieldY_ = 0;
    void* viewMonitor_ = nullptr;
    long windowedLeft_ = 0; // where the window stood before full screen
    long windowedTop_ = 0;
    std::map<std::int32_t, std::unique_ptr<TickTimer>> timers_;
    XInputPads pads_;
    bool destroyed_ = false;
    std::string noteAtStart_;
    std::wstring fileAtStart_;
    bool raceAtStart_ = false;
    // Escape left full screen: its character is not the game's.
    bool escapeTaken_ = false;
};

// The message that carries a tick of the game's timer.
constexpr unsigned kTickMessage = 0x8000 + 1; // WM_APP + 1
// The message that shows the note and starts the file given at start.
constexpr unsigned kStartMessage = 0x8000 + 2;

} // namespace ruvo
