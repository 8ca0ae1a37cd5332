// What the page's entry points share: the running game, and how they are
// exported to the page.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

#define RUVO_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace ruvo {

// The game's record while it runs; null before start-up and after the end.
const GameRecord* RunningRecord();

} // namespace ruvo
