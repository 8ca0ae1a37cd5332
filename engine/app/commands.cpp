// The menu's commands: Start, Pause, the switches, the dialogs, help and Exit.
// SPDX-License-Identifier: MIT
#include "app/shell.h"

#include <chrono>

#include "audio/audio.h"
#include "game/flow.h"
#include "game/window.h"
#include "replay/replay_race.h"
#include "settings/dialog_logic.h"

namespace ruvo {
namespace {

int OptionDialog(GameRecord& record, DialogHost& dialogs)
{
    const OpenDialog open(record);
    return dialogs.RunOption(record);
}

} // namespace

void RunCommand(GameRecord& record, std::uint32_t command)
{
    DialogHost* dialogs = record.host.dialogs;
    switch (command) {
    case IDM_START:
        StartGame(record.game);
        break;
    case IDM_DAILY:
        StartDailyGame(record, DayOf(std::chrono::duration_cast<std::chrono::seconds>(
                                         std::chrono::system_clock::now().time_since_epoch())
                                         .count()));
        break;
    case IDM_PAUSE:
        PauseGame(record.game);
        break;
    case IDM_HIGHSCORE:
        if (dialogs != nullptr) {
            const OpenDialog open(record);
            dialogs->RunHighScore(record);
        }
        break;
    case IDM_SOUND:
        SwitchSound(record);
        break;
    case IDM_MUSIC:
        SwitchMusic(record, record.game);
        break;
    case IDM_OPTION:
        if (dialogs != nullptr && OptionDialog(record, *dialogs) != 0) {
            InitTitle(record.game);
            Ask(record.game, AskFor::Invalidate);
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
    case IDM_BOARD:
        if (dialogs != nullptr && record.host.board) {
            const OpenDialog open(record);
            dialogs->RunBoard(record);
        }
        break;
    default:
        break;
    }
}

} // namespace ruvo
