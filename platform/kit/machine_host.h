// The host the engine is handed, gathered from a machine's parts: each
// machine (the desktop's, Windows', the page's, the in-memory one) keeps its
// text renderer, wave player, music library, dialogs, help and replay store
// under these names, and says where its settings are kept and which
// edition it is.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/host.h"

namespace ruvo {

template <typename Machine> Host MachineHost(Machine& machine, SettingsStore* settings, const char* edition)
{
    Host host;
    host.text = &machine.text;
    host.settings = settings;
    host.wave = &machine.wave;
    host.music = &machine.music;
    host.dialogs = &machine.dialogs;
    host.help = &machine.help;
    host.replays = &machine.replays;
    host.edition = edition;
    return host;
}

} // namespace ruvo
