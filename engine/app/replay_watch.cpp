// A replay shown in the game's window, at its speed, with the live game's
// program-wide values saved and put back.
// SPDX-License-Identifier: MIT
#include "app/replay_watch.h"

#include <algorithm>

#include "app/replay_play.h"
#include "audio/audio.h"
#include "game/window.h"

namespace ruvo {
namespace {

constexpr std::int32_t kFastest = 8;

// The replay's view of the game window: its frames go to the window through
// the live game's frame buffer, its timer sets the live one at the watch's
// pace, and its menu changes are the live game's to make.
class WatchWindow final : public GameWindow {
  public:
    explicit WatchWindow(GameRecord& live) : live_(live) {}
    void Invalidate() override
    {
        const GameRecord* replay = live_.watch ? live_.watch->play.game.get() : nullptr;
        if (replay == nullptr || !replay->frameBitmap || !live_.frameBitmap)
            return;
        *live_.frameBitmap = *replay->frameBitmap;
        InvalidateWindow(live_);
    }
    std::int32_t SetTimer(std::int32_t id, std::int32_t periodMs) override
    {
        periodMs_ = periodMs;
        Pace();
        return id;
    }
    void KillTimer(std::int32_t) override {}
    void CheckMenuItem(MenuId, bool) override {}
    void EnableMenuItem(MenuId, bool) override {}
    void DrawMenuBar() override {}
    void Show(int) override {}
    void Destroy() override {}
    void PostQuit(int) override {}

    // The live timer at the replay's period and the watch's speed.
    void Pace()
    {
        if (!live_.watch || live_.hwndMain == nullptr)
            return;
        const WatchPace pace = PaceFor(periodMs_, live_.watch->speed);
        live_.watch->ticksPerTimer = pace.ticks;
        live_.timerId = live_.hwndMain->SetTimer(1, pace.periodMs);
    }

  private:
    GameRecord& live_;
    std::int32_t periodMs_ = 0;
};

void ShowState(GameRecord& record)
{
    if (record.hwndMain != nullptr)
        record.hwndMain->ShowCaption(WatchCaption(record));
}

void ChangeSpeed(GameRecord& record, bool faster)
{
    ReplayWatch& watch = *record.watch;
    watch.speed = faster ? std::min(watch.speed * 2, kFastest) : std::max(watch.speed / 2, 1);
    static_cast<WatchWindow&>(*watch.window).Pace();
    ShowState(record);
}

// The player's Sound and Music switches, which the replay follows.
void SwitchSound(GameRecord& record)
{
    RunCommand(record, IDM_SOUND);
    record.watch->play.game->soundOn = record.soundOn;
}

void SwitchMusic(GameRecord& record)
{
    if (record.musicReady == 0)
        return;
    GameRecord& replay = *record.watch->play.game;
    record.musicOn = record.musicOn == 1 ? 0 : 1;
    replay.musicOn = record.musicOn;
    if (replay.musicOn != 0)
        PlayMusic(replay);
    else
        StopMusic(replay);
    UpdateMenu(record);
}

bool Command(GameRecord& record, std::uint32_t command)
{
    switch (command) {
    case IDM_PAUSE:
        record.watch->paused = !record.watch->paused;
        ShowState(record);
        return true;
    case IDM_SOUND:
        SwitchSound(record);
        return true;
    case IDM_MUSIC:
        SwitchMusic(record);
        return true;
    case IDM_START:
    case IDM_OPTION:
    case IDM_EXIT:
        EndWatch(record);
        return false;
    default:
        return false;
    }
}

} // namespace

WatchPace PaceFor(std::int32_t periodMs, std::int32_t speed)
{
    speed = std::max(speed, 1);
    WatchPace pace;
    // A period the platform raises to its shortest anyway gains nothing by
    // being divided: the ticks are run several to an expiry instead.
    const std::int64_t period = std::max(periodMs, kShortestTimerMs);
    while (pace.ticks < speed && period * pace.ticks / speed < kShortestTimerMs)
        pace.ticks *= 2;
    pace.periodMs = static_cast<std::int32_t>(period * pace.ticks / speed);
    return pace;
}

namespace {

bool OnTitle(const GameRecord& record)
{
    return (record.state & StateTitle) != 0 && record.hwndMain != nullptr && record.frameBitmap;
}

void StartWatch(GameRecord& record, Replay replay)
{
    EndWatch(record);
    record.watch = std::make_unique<ReplayWatch>();
    ReplayWatch& watch = *record.watch;
    watch.saved = Program();
    watch.savedFrame = std::make_unique<Surface>(*record.frameBitmap);
    watch.window = std::make_unique<WatchWindow>(record);
    ReplaySetup setup;
    setup.host = record.host;
    setup.resources = record.hInstance;
    setup.window = watch.window.get();
    setup.live = &record;
    BeginReplayPlay(watch.play, std::move(replay), setup);
    UpdateMenu(record);
    ShowState(record);
}

} // namespace

std::string WatchReplay(GameRecord& record, std::string_view text)
{
    std::string error;
    std::optional<Replay> replay = ReadReplay(text, error);
    if (!replay)
        return error;
    if (!OnTitle(record))
        return "a replay plays on the title screen only";
    if (record.dialogsOpen > 0) {
        record.pendingWatch = std::make_unique<Replay>(std::move(*replay));
        return {};
    }
    record.pendingWatch.reset();
    StartWatch(record, std::move(*replay));
    return {};
}

void StartPendingWatch(GameRecord& record)
{
    if (!record.pendingWatch || record.dialogsOpen > 0)
        return;
    const std::unique_ptr<Replay> replay = std::move(record.pendingWatch);
    // A dialog's end may have started a game meanwhile: the replay is dropped.
    if (OnTitle(record))
        StartWatch(record, std::move(*replay));
}

bool WatchMessage(GameRecord& record, const Message& message)
{
    if (!record.watch)
        return false;
    switch (message.kind) {
    case MessageKind::Timer:
        if (!record.watch->paused)
            for (std::int32_t i = record.watch->ticksPerTimer; i > 0; --i)
                if (!StepReplayPlay(record.watch->play)) {
                    EndWatch(record);
                    break;
                }
        return true;
    case MessageKind::Char:
        if (message.code == '+' || message.code == '=')
            ChangeSpeed(record, true);
        else if (message.code == '-')
            ChangeSpeed(record, false);
        else if (message.code == 27)
            EndWatch(record);
        return true;
    case MessageKind::LButtonDown:
        return true;
    case MessageKind::Command:
        return Command(record, message.code & 0xFFFF);
    case MessageKind::Close:
        record.pendingWatch.reset();
        EndWatch(record);
        return false;
    default:
        return false;
    }
}

void EndWatch(GameRecord& record)
{
    if (!record.watch)
        return;
    const std::unique_ptr<ReplayWatch> watch = std::move(record.watch);
    record.lastWatched = watch->play.ended ? watch->play.result : ReplayResult{};
    EndReplayPlay(watch->play);
    Program() = watch->saved;
    if (record.frameBitmap && watch->savedFrame)
        *record.frameBitmap = *watch->savedFrame;
    RestartTimer(record);
    if (record.musicOn != 0)
        PlayMusic(record);
    else
        StopMusic(record);
    UpdateMenu(record);
    ShowState(record);
    InvalidateWindow(record);
}

std::string WatchCaption(const GameRecord& record)
{
    std::string caption = kWindowTitle;
    if (!record.watch)
        return caption;
    caption += " - REPLAY";
    if (record.watch->speed > 1)
        caption += ' ' + std::to_string(record.watch->speed) + 'x';
    if (record.watch->paused)
        caption += ", paused";
    return caption;
}

} // namespace ruvo
