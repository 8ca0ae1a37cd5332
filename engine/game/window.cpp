// The game's requests of its window: timers, sizes and painting.
// SPDX-License-Identifier: MIT
#include "game/window.h"

namespace ruvo {

void InvalidateWindow(GameRecord& record)
{
    if (record.hwndMain != nullptr)
        record.hwndMain->Invalidate();
}

int RestartTimer(GameRecord& record)
{
    if (record.hwndMain == nullptr)
        return 1;
    record.hwndMain->KillTimer(record.timerId);
    record.timerId = record.hwndMain->SetTimer(1, record.tickInterval);
    return 1;
}

int UpdateMenu(GameRecord& record)
{
    GameWindow* window = record.hwndMain;
    if (window == nullptr)
        return 1;
    const bool title = (record.state & StateTitle) != 0;
    window->CheckMenuItem(IDM_SOUND, record.soundOn != 0);
    window->CheckMenuItem(IDM_MUSIC, record.musicOn != 0);
    window->EnableMenuItem(IDM_OPTION, record.optionEnabled != 0 && title);
    window->EnableMenuItem(IDM_START, title);
    // While a replay plays on the title, Pause pauses it.
    window->EnableMenuItem(IDM_PAUSE, !title || record.watch != nullptr);
    // An edition that keeps no replays yet offers none.
    window->EnableMenuItem(IDM_REPLAYS, title && record.host.replays != nullptr);
    window->DrawMenuBar();
    return 1;
}

} // namespace ruvo
