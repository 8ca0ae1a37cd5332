// The program's entry on Windows: the Win32 machine under the game's own WinMain.
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include "app/shell.h"
#include "platform/windows/gdi_text.h"
#include "platform/windows/help_window.h"
#include "platform/windows/mci_music.h"
#include "platform/windows/registry_settings.h"
#include "platform/windows/wave_player.h"
#include "platform/windows/win_dialogs.h"
#include "platform/windows/win_resources.h"
#include "platform/windows/win_window_system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    // The dialogs' controls in the look of the system (common controls 6,
    // which the manifest asks for).
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    ruvo::Win32Resources resources;
    ruvo::GdiTextRenderer text;
    ruvo::RegistrySettingsStore settings;
    ruvo::SystemWavePlayer wave;
    ruvo::MciMusicLibrary music;
    ruvo::WinWindowSystem windows(&settings);
    ruvo::WinDialogHost dialogs(windows);
    ruvo::HelpWindow help(&windows);

    ruvo::Host host;
    host.text = &text;
    host.settings = &settings;
    host.wave = &wave;
    host.music = &music;
    host.dialogs = &dialogs;
    host.help = &help;
    return ruvo::WinMain(windows, host, &resources, showCommand);
}
