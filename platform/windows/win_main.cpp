// The program's entry on Windows: the Win32 machine under the game's own
// WinMain, and the arguments it takes: a replay file to watch, or --race and
// a replay file whose ghost to race.
// SPDX-License-Identifier: MIT
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>
#include <shellapi.h>

#include <string_view>

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
    // ruvo.exe FILE.ruvo-replay: the replay plays as soon as the window is up;
    // ruvo.exe --race FILE.ruvo-replay: its ghost is raced. "--race" alone
    // names no file, and is refused as one that is not there.
    int count = 0;
    if (wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        const bool race = count > 2 && std::wstring_view(arguments[1]) == L"--race";
        if (count > 1)
            machine.windows.PlayAtStart(arguments[race ? 2 : 1], race);
        LocalFree(arguments);
    }
    return ruvo::WinMain(machine.windows, machine.MakeHost(), &machine.resources, showCommand);
}
