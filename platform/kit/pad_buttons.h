// A game controller's buttons as the game takes them, whichever library reads
// the controller: the south and east face buttons dive, as the space bar
// does, and Start starts a game on the title screen, or pauses and resumes
// one in play.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "record/host.h"

namespace ruvo {

enum class PadButton {
    Dive,
    Start,
};

// Start gives the first of these commands that the game has not greyed.
constexpr std::array<MenuId, 2> kStartButtonCommands{IDM_START, IDM_PAUSE};

} // namespace ruvo
