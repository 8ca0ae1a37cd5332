// The jumper: its bounce, the player's dive, its score and its lives.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/game.h"

namespace ruvo {

// One tick of the jumper: probe, bounce, score, lose a life or stomp; move; show.
int MoveJumper(Game& game);
// The player's dive: a rising jumper at row 16 or above starts falling.
int Dive(Game& game);
// The OR of the four inner cells of the jumper's next place.
std::uint8_t ProbeBoss(const Game& game);

} // namespace ruvo
