// The program's start: the window class, the window, the record and the first frame.
// SPDX-License-Identifier: MIT
#include "app/shell.h"
#include "audio/audio.h"
#include "game/fonts.h"
#include "game/graphics.h"
#include "render/icon.h"

#include <utility>

namespace ruvo {

int RegisterGameClass(WindowSystem& system, const ResourceLibrary* resources, ProgramIcons& icons)
{
    LoadIconPair(resources, icons.largeIcon, kProgramIconGroup, 32);
    LoadIconPair(resources, icons.smallIcon, kProgramIconGroup, 16);
    return system.RegisterGameClass(kClassName, icons) ? 1 : 0;
}

int ReadFrameMetrics(WindowSystem& system, FrameMetrics& metrics)
{
    metrics.cxDlgFrame = system.GetSystemMetric(SystemMetric::CxDlgFrame);
    metrics.cyDlgFrame = system.GetSystemMetric(SystemMetric::CyDlgFrame);
    metrics.cyCaption = system.GetSystemMetric(SystemMetric::CyCaption);
    metrics.cyMenu = system.GetSystemMetric(SystemMetric::CyMenu);
    return 1;
}

int ComputeWindowSize(WindowSystem& system, GameRecord& record)
{
    FrameMetrics metrics;
    ReadFrameMetrics(system, metrics);
    Game& game = record.game;
    game.stageWidth = game.fieldWidth + 64;
    game.stageHeight = game.fieldHeight + 64;
    record.windowWidth = game.fieldWidth + 2 * metrics.cxDlgFrame;
    record.windowHeight = game.fieldHeight + 2 * metrics.cyDlgFrame + metrics.cyMenu + metrics.cyCaption;
    return 1;
}

GameWindow* CreateGameWindow(WindowSystem& system, GameRecord& record, int showCommand)
{
    GameWindow* window =
        system.CreateGameWindow(record, kClassName, kWindowTitle, record.windowWidth, record.windowHeight);
    if (window != nullptr)
        window->Show(showCommand);
    return window;
}

std::unique_ptr<GameRecord> StartUp(WindowSystem& system, const Host& host, const ResourceLibrary* resources,
                                    int showCommand)
{
    ProgramIcons icons;
    if (RegisterGameClass(system, resources, icons) == 0)
        return nullptr;
    auto record = std::make_unique<GameRecord>();
    record->icons = std::move(icons);
    record->host = host;
    record->hInstance = resources;
    record->game.fieldWidth = kFieldWidth;
    record->game.fieldHeight = kFieldHeight;
    ComputeWindowSize(system, *record);
    CreateFonts(record->drawing, host.text);
    LoadGraphics(*record);
    OpenMusic(*record);
    LoadMusic(*record);
    GameWindow* window = CreateGameWindow(system, *record, showCommand);
    if (window == nullptr)
        return nullptr;
    record->hwndMain = window;
    record->timerId = window->SetTimer(1, record->game.tickInterval);
    system.LoadAcceleratorTable();
    return record;
}

void ShutDown(std::unique_ptr<GameRecord> record)
{
    if (record->hwndMain != nullptr)
        record->hwndMain->KillTimer(record->timerId);
    CloseMusic(*record);
    FreeMusic(*record);
    FreeGraphics(*record);
    DeleteFonts(record->drawing);
    FreeSpritePair(record->icons.largeIcon);
    FreeSpritePair(record->icons.smallIcon);
    record.reset();
}

int WinMain(WindowSystem& system, const Host& host, const ResourceLibrary* resources, int showCommand)
{
    std::unique_ptr<GameRecord> record = StartUp(system, host, resources, showCommand);
    if (!record)
        return 0;
    const int exitCode = system.RunMessageLoop();
    ShutDown(std::move(record));
    return exitCode;
}

} // namespace ruvo
