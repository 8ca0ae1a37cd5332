// The centred banners: start, round clear, game over, pause and hurry-up.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/game.h"

namespace ruvo {

// The five centred banners. All but the pause enter a banner wait.
int ShowStartBanner(Game& game);
int ShowRoundClear(Game& game);
int ShowGameOver(Game& game);
int ShowHurryUp(Game& game);
int ShowPause(Game& game);

} // namespace ruvo
