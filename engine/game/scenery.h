// The scrolling landscape and its collision grid.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

// One 8-pixel scroll step of the landscape and its collision grid.
int ScrollStage(GameRecord& record);
// A full field of fresh scenery at the start of the title and of each round.
int PrefillStage(GameRecord& record);
// The next of the sun's three frames, over the composed frame.
int AnimateSun(GameRecord& record);

} // namespace ruvo
