// The program's entry on Windows: the Win32 machine under the game's own WinMain.
// SPDX-License-Identifier: MIT
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include "app/shell.h"
#include "platform/windows/win_machine.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    // The dialogs' controls in the look of the system (common controls 6,
    // which the manifest asks for).
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    ruvo::WinMachine machine;
    return ruvo::WinMain(machine.windows, machine.MakeHost(), &machine.resources, showCommand);
}
