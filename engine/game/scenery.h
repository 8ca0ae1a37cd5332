// The scrolling landscape: its columns and platforms, the clouds and the sun.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/game.h"

namespace ruvo {

// One 8-pixel scroll step of the landscape and its collision grid.
int ScrollStage(Game& game);
// A full field of fresh scenery at the start of the title and of each round.
int PrefillStage(Game& game);
// The next of the sun's three frames, over the composed frame.
int AnimateSun(Game& game);

} // namespace ruvo
