// The options' defaults, the game's fixed limits and the saved settings.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

// The options' defaults and the game's fixed limits, then the saved settings.
int InitDefaults(GameRecord& record);

} // namespace ruvo
