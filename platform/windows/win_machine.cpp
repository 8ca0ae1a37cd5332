// The Win32 machine: the parts gathered into the host.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_machine.h"

#include <utility>

namespace ruvo {

WinMachine::WinMachine(std::wstring settingsKey) : settings(std::move(settingsKey)) {}

Host WinMachine::MakeHost()
{
    Host host;
    host.text = &text;
    host.settings = &settings;
    host.wave = &wave;
    host.music = &music;
    host.dialogs = &dialogs;
    host.help = &help;
    host.replays = &replays;
    host.edition = "windows";
    return host;
}

} // namespace ruvo
