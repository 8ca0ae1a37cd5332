// A replay shown in the game's window, at its speed: the replay's game is
// drawn with the window's drawing and heard with the player's switches,
// while the live game waits, untouched, on its title.
// SPDX-License-Identifier: MIT
#include "replay/replay_watch.h"

#include <algorithm>

#include "audio/audio.h"
#include "game/drawing.h"
#include "game/window.h"
#include "replay/replay_file.h"
#include "replay/replay_play.h"
#include "replay/replay_race.h"

namespace ruvo {
namespace {

constexpr std::int32_t kFastest = 8;

void ShowState(GameRecord& record)
{
    if (record.hwndMain != nullptr)
        record.hwndMain->ShowCaption(WatchCaption(record));
}

// The live timer at the replay's period and the watch's speed.
void Pace(GameRecord& record)
{
    ReplayWatch& watch = *record.watch;
    const WatchPace pace = PaceFor(watch.periodMs, watch.speed);
    watch.ticksPerTimer = pace.ticks;
    if (record.hwndMain != nullptr)
        record.timerId = record.hwndMain->SetTimer(1, pace.periodMs);
}

// The replay's game shown, then what it asked for: its sounds and music
// with the player's switches, its repaints; its timer at the watch's pace,
// and the menu left to the live game.
void Show(GameRecord& record)
{
    ReplayWatch& watch = *record.watch;
    Game& game = watch.play.game;
    DrawGame(record.drawing, game);
    bool paced = false;
    for (const Request& request : game.requests)
        if (request.what == AskFor::Timer) {
            watch.periodMs = request.value;
            paced = true;
        }
    if (paced)
        Pace(record);
    ServeRequests(record, game, Serving{false, false});
}

void ChangeSpeed(GameRecord& record, bool faster)
{
    ReplayWatch& watch = *record.watch;
    watch.speed = faster ? std::min(watch.speed * 2, kFastest) : std::max(watch.speed / 2, 1);
    Pace(record);
    ShowState(record);
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
        if (record.musicReady != 0)
            SwitchMusic(record, record.watch->play.game);
        return true;
    case IDM_START:
    case IDM_DAILY:
    case IDM_OPTION:
    case IDM_EXIT:
        EndWatch(record);
        return false;
    default:
        return false;
    }
}

void StartWatch(GameRecord& record, Replay replay)
{
    EndWatch(record);
    record.watch = std::make_unique<ReplayWatch>();
    ReplayWatch& watch = *record.watch;
    watch.play.playerSwitches = true;
    BeginReplayPlay(watch.play, std::move(replay));
    // The surfaces show the replay's game from its start, drawn whole.
    ForgetDrawn(record.drawing);
    Show(record);
    UpdateMenu(record);
    ShowState(record);
}

} // namespace

bool OnTitle(const GameRecord& record)
{
    return (record.game.state & StateTitle) != 0 && record.hwndMain != nullptr && record.drawing.frameBitmap;
}

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

std::string AskForReplay(GameRecord& record, std::string_view text, bool race)
{
    std::string error;
    std::optional<Replay> replay = ReadReplay(text, error);
    if (!replay)
        return error;
    if (!OnTitle(record))
        return race ? "a race starts on the title screen only" : "a replay plays on the title screen only";
    if (record.dialogsOpen > 0) {
        record.pendingReplay = std::make_unique<PendingReplay>(PendingReplay{std::move(*replay), race});
        return {};
    }
    record.pendingReplay.reset();
    if (race)
        StartRace(record, std::move(*replay));
    else
        StartWatch(record, std::move(*replay));
    return {};
}

std::string WatchReplay(GameRecord& record, std::string_view text)
{
    return AskForReplay(record, text, false);
}

void StartPendingReplay(GameRecord& record)
{
    if (!record.pendingReplay || record.dialogsOpen > 0)
        return;
    const std::unique_ptr<PendingReplay> pending = std::move(record.pendingReplay);
    // A dialog's end may have started a game meanwhile: the replay is dropped.
    if (!OnTitle(record))
        return;
    if (pending->board) {
        EndWatch(record);
        StartBoardGame(record, pending->replay.start);
    } else if (pending->race)
        StartRace(record, std::move(pending->replay));
    else
        StartWatch(record, std::move(pending->replay));
}

bool WatchMessage(GameRecord& record, const Message& message)
{
    if (!record.watch)
        return false;
    switch (message.kind) {
    case MessageKind::Timer:
        if (!record.watch->paused)
            for (std::int32_t i = record.watch->ticksPerTimer; i > 0; --i) {
                const bool going = StepReplayPlay(record.watch->play);
                Show(record);
                if (!going) {
                    EndWatch(record);
                    break;
                }
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
        record.pendingReplay.reset();
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
    // The live game's picture, drawn whole again where the replay's was.
    ForgetDrawn(record.drawing);
    DrawGame(record.drawing, record.game);
    RestartTimer(record);
    if (record.musicOn != 0)
        PlayMusic(record, record.game.musicTrack);
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
