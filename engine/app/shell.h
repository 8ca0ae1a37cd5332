// The application shell: start-up and shut-down, the window procedure, the
// timer, the menu's state and the commands. Written against the platform's
// window system interface, so the order of every step is the game's own and
// testable without a display.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "record/record.h"

namespace ruvo {

enum class SystemMetric { CxDlgFrame, CyDlgFrame, CyCaption, CyMenu };

struct FrameMetrics {
    std::int32_t cxDlgFrame = 0;
    std::int32_t cyDlgFrame = 0;
    std::int32_t cyCaption = 0;
    std::int32_t cyMenu = 0;
};

// What the platform offers the shell: the window class, metrics, the window
// itself and the message loop.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    virtual bool RegisterGameClass(std::string_view className, const ProgramIcons& icons) = 0;
    virtual std::int32_t GetSystemMetric(SystemMetric metric) = 0;
    // Creates the window and, before returning, hands it the Create message
    // through MainWndProc. Returns null when no window results.
    virtual GameWindow* CreateGameWindow(GameRecord& record, std::string_view className, std::string_view title,
                                         std::int32_t width, std::int32_t height) = 0;
    virtual void LoadAcceleratorTable() = 0;
    // Runs until the quit message; returns its exit code.
    virtual int RunMessageLoop() = 0;
};

// The program's entry routine, from start-up to shut-down.
int WinMain(WindowSystem& system, const Host& host, const ResourceLibrary* resources, int showCommand);

// WinMain's halves: start-up up to the message loop (null when the class,
// the record or the window cannot be had), and the shut-down after it.
std::unique_ptr<GameRecord> StartUp(WindowSystem& system, const Host& host, const ResourceLibrary* resources,
                                    int showCommand);
void ShutDown(std::unique_ptr<GameRecord> record);

// Loads the program's icons into icons and registers the class with them.
int RegisterGameClass(WindowSystem& system, const ResourceLibrary* resources, ProgramIcons& icons);
int ReadFrameMetrics(WindowSystem& system, FrameMetrics& metrics);
int ComputeWindowSize(WindowSystem& system, GameRecord& record);
GameWindow* CreateGameWindow(WindowSystem& system, GameRecord& record, int showCommand);

// Returns the message's result. After every message the window's game is
// settled: what it shows drawn, what it asked for served.
std::int64_t MainWndProc(GameRecord& record, const Message& message);
void Settle(GameRecord& record);

void RunCommand(GameRecord& record, std::uint32_t command);
// Saves, destroys the surfaces, closes help and destroys the window.
void ExitCommand(GameRecord& record);

} // namespace ruvo
