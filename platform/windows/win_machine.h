// The Win32 machine under the game: the program's resources, GDI's text, the
// registry, the system's wave player, MCI's music, the window system, the
// dialogs and the help window, gathered into the host the engine sees.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "platform/windows/gdi_text.h"
#include "platform/windows/help_window.h"
#include "platform/windows/mci_music.h"
#include "platform/windows/registry_settings.h"
#include "platform/windows/wave_player.h"
#include "platform/windows/win_dialogs.h"
#include "platform/windows/win_replay_store.h"
#include "platform/windows/win_resources.h"
#include "platform/windows/win_window_system.h"
#include "record/host.h"

namespace ruvo {

// The settings default to the game's own key under HKEY_CURRENT_USER.
struct WinMachine {
    explicit WinMachine(std::wstring settingsKey = kSettingsKey);
    Host MakeHost();

    Win32Resources resources;
    GdiTextRenderer text;
    RegistrySettingsStore settings;
    SystemWavePlayer wave;
    MciMusicLibrary music;
    WinWindowSystem windows{&settings};
    WinDialogHost dialogs{windows};
    HelpWindow help{&windows};
    WinReplayStore replays;
};

} // namespace ruvo
