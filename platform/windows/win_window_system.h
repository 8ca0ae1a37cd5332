// The Win32 window system under the game: the class RuvoWClass with the
// program's icons, the window, the accelerator table and the message loop.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "app/shell.h"

namespace ruvo {

class RegistrySettingsStore;
class WinGameWindow;

class WinWindowSystem final : public WindowSystem {
  public:
    // The view choice is read from the keeper and handed back to it on
    // every change (null: automatic size, windowed).
    explicit WinWindowSystem(RegistrySettingsStore* viewKeeper);
    ~WinWindowSystem() override;

    bool RegisterGameClass(std::string_view className, const ProgramIcons& icons) override;
    std::int32_t GetSystemMetric(SystemMetric metric) override;
    GameWindow* CreateGameWindow(GameRecord& record, std::string_view className, std::string_view title,
                                 std::int32_t width, std::int32_t height) override;
    void LoadAcceleratorTable() override;
    int RunMessageLoop() override;

    // A replay file to watch (or race) as soon as the message loop runs.
    void PlayAtStart(std::wstring path, bool race)
    {
        playAtStart_ = std::move(path);
        raceAtStart_ = race;
    }
    // A note for the player as soon as the message loop runs (before the replay).
    void NoteAtStart(std::string text) { noteAtStart_ = std::move(text); }

    // The game window's handle while it exists, else null.
    void* GameHwnd() const;

  private:
    RegistrySettingsStore* viewKeeper_;
    std::wstring className_;
    std::unique_ptr<WinGameWindow> window_;
    void* accelerators_ = nullptr;
    std::wstring playAtStart_;
    bool raceAtStart_ = false;
    std::string noteAtStart_;
};

} // namespace ruvo
