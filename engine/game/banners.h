// The centred banners shown over the field, and their waits.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

// The five centred banners. All but the pause enter a banner wait.
int ShowStartBanner(GameRecord& record);
int ShowRoundClear(GameRecord& record);
int ShowGameOver(GameRecord& record);
int ShowHurryUp(GameRecord& record);
int ShowPause(GameRecord& record);

} // namespace ruvo
