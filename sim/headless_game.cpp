// The real game on the in-memory machine, as the program starts it.
// SPDX-License-Identifier: MIT
#include "sim/headless_game.h"

#include "replay/replay_race.h"

#include <utility>

namespace ruvo {

bool HeadlessWindowSystem::RegisterGameClass(std::string_view, const ProgramIcons&)
{
    return true;
}

std::int32_t HeadlessWindowSystem::GetSystemMetric(SystemMetric metric)
{
    switch (metric) {
    case SystemMetric::CxDlgFrame:
    case SystemMetric::CyDlgFrame:
        return 3;
    case SystemMetric::CyCaption:
        return 18;
    case SystemMetric::CyMenu:
        return 19;
    }
    return 0;
}

GameWindow* HeadlessWindowSystem::CreateGameWindow(GameRecord& record, std::string_view, std::string_view windowTitle,
                                                   std::int32_t w, std::int32_t h)
{
    title = std::string(windowTitle);
    width = w;
    height = h;
    window.destroyMessage = [&record] { MainWndProc(record, Message{MessageKind::Destroy}); };
    MainWndProc(record, Message{MessageKind::Create, 0, &window});
    return &window;
}

HeadlessGame::HeadlessGame(TextRenderer* text, const ResourceLibrary* resources) : text_(text), resources_(resources) {}

HeadlessGame::~HeadlessGame()
{
    if (record_)
        ShutDown(std::move(record_));
}

void HeadlessGame::Start()
{
    Host host;
    host.text = text_;
    host.settings = sharedSettings != nullptr ? sharedSettings : &settings;
    host.wave = &wave;
    host.music = &music;
    host.dialogs = &dialogs;
    host.help = &help;
    host.replays = sharedReplays != nullptr ? sharedReplays : &replays;
    host.edition = "ruvo-sim";
    record_ = StartUp(system, host, resources_, 1);
}

void HeadlessGame::Command(MenuId id)
{
    // Items the menu never greys are always enabled.
    const bool greyable = id == IDM_START || id == IDM_PAUSE || id == IDM_OPTION || id == IDM_REPLAYS;
    if (greyable && !system.window.IsEnabled(id))
        return;
    Send({MessageKind::Command, id});
}

void HeadlessGame::StartDaily(const Day& day)
{
    if (!record_ || system.window.destroyed || !system.window.IsEnabled(IDM_DAILY))
        return;
    StartDailyGame(*record_, day);
    Settle(*record_);
}

void HeadlessGame::Race(const std::string& text)
{
    if (!record_ || system.window.destroyed)
        return;
    RaceReplay(*record_, text);
    Settle(*record_);
}

void HeadlessGame::StartBoard(const ReplayStart& start)
{
    if (!record_ || system.window.destroyed)
        return;
    StartBoardGame(*record_, start);
    Settle(*record_);
}

void HeadlessGame::Send(const Message& message)
{
    if (record_ && !system.window.destroyed)
        MainWndProc(*record_, message);
}

} // namespace ruvo
