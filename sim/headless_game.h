// The real game, started as the program starts it, on the in-memory machine.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "app/shell.h"
#include "platform/headless/headless_host.h"
#include "replay/daily.h"

namespace ruvo {

// The window system of the headless machine: one window, no message loop.
class HeadlessWindowSystem final : public WindowSystem {
  public:
    bool RegisterGameClass(std::string_view className, const ProgramIcons& icons) override;
    std::int32_t GetSystemMetric(SystemMetric metric) override;
    GameWindow* CreateGameWindow(GameRecord& record, std::string_view className, std::string_view title,
                                 std::int32_t width, std::int32_t height) override;
    void LoadAcceleratorTable() override {}
    int RunMessageLoop() override { return window.quitCode.value_or(0); }

    HeadlessWindow window;
    std::string title;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class HeadlessGame {
  public:
    // text may be null (no text is drawn or measured).
    explicit HeadlessGame(TextRenderer* text, const ResourceLibrary* resources);
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    // Start-up up to the message loop; settings must be filled before.
    void Start();
    void Tick() { Send({MessageKind::Timer, 1}); }
    // A menu command or its key: a greyed item sends nothing.
    void Command(MenuId id);
    void Click() { Send({MessageKind::LButtonDown}); }
    // Game > Daily Challenge on that day (the menu takes today's).
    void StartDaily(const Day& day);
    // Race in the Replays list, with the replay's text.
    void Race(const std::string& text);
    // A game for a board from the start file it gave.
    void StartBoard(const ReplayStart& start);
    void Send(const Message& message);

    GameRecord& Record() { return *record_; }
    HeadlessWindow& Window() { return system.window; }

    HeadlessWindowSystem system;
    MemorySettings settings;
    RecordingWavePlayer wave;
    StandInMusic music;
    ScriptedDialogs dialogs;
    RecordingHelp help;
    MemoryReplays replays;
    // Another window's stores, when set before Start: two games over one
    // settings store and one replay store.
    SettingsStore* sharedSettings = nullptr;
    ReplayStore* sharedReplays = nullptr;

  private:
    TextRenderer* text_;
    const ResourceLibrary* resources_;
    std::unique_ptr<GameRecord> record_;
};

} // namespace ruvo
