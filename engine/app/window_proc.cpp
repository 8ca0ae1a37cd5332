// The window procedure: every message the game window receives, handled.
// SPDX-License-Identifier: MIT
#include "app/shell.h"
#include "game/drawing.h"
#include "game/flow.h"
#include "game/jumper.h"
#include "game/surfaces.h"
#include "game/window.h"
#include "render/draw.h"
#include "replay/replay_race.h"
#include "replay/replay_record.h"
#include "replay/replay_watch.h"
#include "settings/defaults.h"
#include "settings/highscore.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

// What closing the window and the Exit command share: the settings are saved,
// the surfaces go and the help viewer closes. Dialogs still open end first,
// and a score still waiting for its name is saved with it.
void CloseSteps(GameRecord& record)
{
    if (record.host.dialogs != nullptr)
        record.host.dialogs->EndDialogs();
    record.pendingReplay.reset();
    record.race.reset();
    TakePendingEntry(record);
    SaveSettings(record);
    DestroySurfaces(record);
    if (record.host.help != nullptr)
        record.host.help->Help(kHelpFile, HelpCommand::Quit);
}

// A click or the space bar; the recorder keeps the dives that take effect.
void PlayerDive(GameRecord& record)
{
    const ReplayWitness before = Witness(record);
    Dive(record.game);
    RecordDive(record, before);
}

// One tick of the window's game. A game over hands the game to the shell
// between the tick and the title: the score is checked against the table
// (the name dialog may open, and ticks that come meanwhile find the banner
// run out), then the title returns.
void WindowTick(GameRecord& record)
{
    if (GameTick(record.game) == TickEnd::GameOver) {
        Settle(record);
        CheckHighScore(record);
        RestoreOwnOptions(record);
        InitTitle(record.game);
    }
    StepRace(record);
}

std::int64_t HandleMessage(GameRecord& record, const Message& message)
{
    if (WatchMessage(record, message))
        return 0;
    switch (message.kind) {
    case MessageKind::Create:
        record.hwndMain = message.window;
        InitDefaults(record);
        CreateSurfaces(record);
        InitTitle(record.game);
        return 0;
    case MessageKind::Paint:
        if (message.paint != nullptr)
            PaintShown(record.drawing, *message.paint);
        return 0;
    case MessageKind::Timer:
        BeforeRecordedTick(record);
        WindowTick(record);
        Settle(record);
        AfterRecordedTick(record);
        FinishRace(record);
        return 0;
    case MessageKind::Command: {
        const std::uint32_t command = message.code & 0xFFFF;
        if (command == IDM_START)
            BeginRecording(record);
        const ReplayWitness before = Witness(record);
        RunCommand(record, command);
        RecordCommand(record, before);
        return 0;
    }
    case MessageKind::Char:
        if (message.code == kDiveCharacter)
            PlayerDive(record);
        return 0;
    case MessageKind::LButtonDown:
        PlayerDive(record);
        return 0;
    case MessageKind::Close:
        CloseSteps(record);
        if (record.hwndMain != nullptr)
            record.hwndMain->Destroy();
        return 0;
    case MessageKind::Destroy:
        if (record.hwndMain != nullptr)
            record.hwndMain->PostQuit(0);
        return 0;
    }
    return 0;
}

} // namespace

void Settle(GameRecord& record)
{
    if (record.watch)
        return; // the replay shows itself, and the live game waits
    DrawGame(record.drawing, record.game);
    DrawRace(record);
    ServeRequests(record, record.game);
}

std::int64_t MainWndProc(GameRecord& record, const Message& message)
{
    const std::int64_t result = HandleMessage(record, message);
    StartPendingReplay(record);
    Settle(record);
    return result;
}

void ExitCommand(GameRecord& record)
{
    CloseSteps(record);
    if (record.hwndMain != nullptr)
        record.hwndMain->Destroy();
}

} // namespace ruvo
