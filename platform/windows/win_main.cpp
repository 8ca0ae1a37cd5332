// The program's entry on Windows: the Win32 machine under the game's own
// WinMain, and the one argument it takes, a replay file to watch.
// SPDX-License-Identifier: MIT
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>
#include <shellapi.h>

#include "app/shell.h"
#include "platform/windows/win_machine.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    // The dialogs' controls in the look of the system (common controls 6,
    // which the manifest asks for).
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    ruvo::WinMachine machine;
    if (machine.replays.InMemory())
        machine.windows.NoteAtStart(ruvo::kReplaysForThisRun);
    // ruvo.exe FILE.ruvo-replay: the replay plays as soon as the window is up.
    int count = 0;
    if (wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        if (count > 1)
            machine.windows.PlayAtStart(arguments[1]);
        LocalFree(arguments);
    }
    return ruvo::WinMain(machine.windows, machine.MakeHost(), &machine.resources, showCommand);
}
