// The window procedure: every message the game window receives, handled.
// SPDX-License-Identifier: MIT
#include "app/shell.h"
#include "game/flow.h"
#include "game/jumper.h"
#include "game/surfaces.h"
#include "render/draw.h"
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
    TakePendingEntry(record);
    SaveSettings(record);
    DestroySurfaces(record);
    if (record.host.help != nullptr)
        record.host.help->Help(kHelpFile, HelpCommand::Quit);
}

} // namespace

std::int64_t MainWndProc(GameRecord& record, const Message& message)
{
    switch (message.kind) {
    case MessageKind::Create:
        record.hwndMain = message.window;
        InitDefaults(record);
        CreateSurfaces(record);
        InitTitle(record);
        return 0;
    case MessageKind::Paint:
        if (message.paint != nullptr)
            PaintWindow(record.frameBitmap.get(), *message.paint);
        return 0;
    case MessageKind::Timer:
        GameTick(record);
        return 0;
    case MessageKind::Command:
        RunCommand(record, message.code & 0xFFFF);
        return 0;
    case MessageKind::Char:
        if (message.code == kDiveCharacter)
            Dive(record);
        return 0;
    case MessageKind::LButtonDown:
        Dive(record);
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

void ExitCommand(GameRecord& record)
{
    CloseSteps(record);
    if (record.hwndMain != nullptr)
        record.hwndMain->Destroy();
}

} // namespace ruvo
