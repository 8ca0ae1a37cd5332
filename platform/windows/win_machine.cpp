// The Win32 machine: the parts gathered into the host.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_machine.h"

#include "platform/kit/machine_host.h"

#include <utility>

namespace ruvo {

WinMachine::WinMachine(std::wstring settingsKey) : settings(std::move(settingsKey)) {}

Host WinMachine::MakeHost()
{
    Host host = MachineHost(*this, &settings, "windows");
    host.board = true; // over WinHTTP, the address in the registry
    return host;
}

} // namespace ruvo
