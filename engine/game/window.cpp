// The shell's requests of its window, and the game's requests served.
// SPDX-License-Identifier: MIT
#include "game/window.h"

#include "audio/audio.h"

namespace ruvo {
namespace {

void ArmTimer(GameRecord& record, std::int32_t periodMs)
{
    if (record.hwndMain == nullptr)
        return;
    record.hwndMain->KillTimer(record.timerId);
    record.timerId = record.hwndMain->SetTimer(1, periodMs);
}

} // namespace

void InvalidateWindow(GameRecord& record)
{
    if (record.hwndMain != nullptr)
        record.hwndMain->Invalidate();
}

int RestartTimer(GameRecord& record)
{
    ArmTimer(record, record.game.tickInterval);
    return 1;
}

int UpdateMenu(GameRecord& record)
{
    GameWindow* window = record.hwndMain;
    if (window == nullptr)
        return 1;
    const bool title = (record.game.state & StateTitle) != 0;
    window->CheckMenuItem(IDM_SOUND, record.soundOn != 0);
    window->CheckMenuItem(IDM_MUSIC, record.musicOn != 0);
    window->EnableMenuItem(IDM_OPTION, record.optionEnabled != 0 && title);
    window->EnableMenuItem(IDM_START, title);
    window->EnableMenuItem(IDM_DAILY, title);
    // While a replay plays on the title, Pause pauses it.
    window->EnableMenuItem(IDM_PAUSE, !title || record.watch != nullptr);
    // An edition that keeps no replays yet offers none.
    window->EnableMenuItem(IDM_REPLAYS, title && record.host.replays != nullptr);
    window->EnableMenuItem(IDM_BOARD, title && record.host.board);
    window->DrawMenuBar();
    return 1;
}

void SwitchSound(GameRecord& record)
{
    record.soundOn = record.soundOn == 1 ? 0 : 1;
    UpdateMenu(record);
}

void SwitchMusic(GameRecord& record, const Game& heard)
{
    if (record.musicOn == 1) {
        record.musicOn = 0;
        StopMusic(record);
    } else if (record.musicReady != 0) {
        record.musicOn = 1;
        PlayMusic(record, heard.musicTrack);
    }
    UpdateMenu(record);
}

void ServeRequests(GameRecord& record, Game& game, Serving serving)
{
    // A request served may run the game's session again (a repaint that
    // draws at once): it finds these gone.
    std::vector<Request> requests;
    requests.swap(game.requests);
    for (const Request& request : requests) {
        switch (request.what) {
        case AskFor::Sound:
            if (record.soundOn != 0)
                PlaySoundEffect(record, static_cast<WaveSound>(request.value));
            break;
        case AskFor::Music:
            if (record.musicOn != 0)
                PlayMusic(record, request.value);
            break;
        case AskFor::Timer:
            if (serving.timer)
                ArmTimer(record, request.value);
            break;
        case AskFor::Menu:
            if (serving.menu)
                UpdateMenu(record);
            break;
        case AskFor::Invalidate:
            InvalidateWindow(record);
            break;
        }
    }
    // The room stays with the game, for the next tick's requests.
    requests.clear();
    if (game.requests.empty())
        game.requests.swap(requests);
}

} // namespace ruvo
