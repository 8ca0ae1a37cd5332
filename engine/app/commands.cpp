// The menu's commands: Start, Pause, the switches, the dialogs, help and Exit.
// SPDX-License-Identifier: MIT
#include "app/shell.h"
#include "audio/audio.h"
#include "game/banners.h"
#include "game/flow.h"
#include "game/title.h"
#include "game/window.h"
#include "settings/dialog_logic.h"

namespace ruvo {

namespace {

void StartCommand(GameRecord& record)
{
    NewGame(record);
    DrawStatusLine(record);
    ShowStartBanner(record);
    InvalidateWindow(record);
}

void PauseCommand(GameRecord& record)
{
    if (record.paused == 1) {
        record.paused = 0;
        record.state = StatePlay;
    } else if ((record.state & 0xFF) == StatePlay) {
        record.paused = 1;
        record.state = StatePause;
    }
}

int OptionDialog(GameRecord& record, DialogHost& dialogs)
{
    const OpenDialog open(record);
    return dialogs.RunOption(record);
}

void MusicCommand(GameRecord& record)
{
    if (record.musicOn == 1) {
        record.musicOn = 0;
        StopMusic(record);
    } else if (record.musicReady != 0) {
        record.musicOn = 1;
        PlayMusic(record);
    }
    UpdateMenu(record);
}

} // namespace

void RunCommand(GameRecord& record, std::uint32_t command)
{
    DialogHost* dialogs = record.host.dialogs;
    switch (command) {
    case IDM_START:
        StartCommand(record);
        break;
    case IDM_PAUSE:
        PauseCommand(record);
        break;
    case IDM_HIGHSCORE:
        if (dialogs != nullptr) {
            const OpenDialog open(record);
            dialogs->RunHighScore(record);
        }
        break;
    case IDM_SOUND:
        record.soundOn = record.soundOn == 1 ? 0 : 1;
        UpdateMenu(record);
        break;
    case IDM_MUSIC:
        MusicCommand(record);
        break;
    case IDM_OPTION:
        if (dialogs != nullptr && OptionDialog(record, *dialogs) != 0) {
            InitTitle(record);
            InvalidateWindow(record);
        }
        break;
    case IDM_HELP:
        if (record.host.help != nullptr)
            record.host.help->Help(kHelpFile, HelpCommand::Finder);
        break;
    case IDM_ABOUT:
        if (dialogs != nullptr) {
            const OpenDialog open(record);
            dialogs->RunAbout();
        }
        break;
    case IDM_EXIT:
        ExitCommand(record);
        break;
    case IDM_REPLAYS:
        if (dialogs != nullptr) {
            const OpenDialog open(record);
            dialogs->RunReplays(record);
        }
        break;
    default:
        break;
    }
}

} // namespace ruvo
