// The jumper's tick, its bounce and its dive.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/record.h"

namespace ruvo {

// One tick of the jumper: probe, bounce, score, lose a life or stomp; move; draw.
int MoveJumper(GameRecord& record);
// The player's dive: a rising jumper at row 16 or above starts falling.
int Dive(GameRecord& record);
// The OR of the four inner cells of the jumper's next place.
std::uint8_t ProbeBoss(GameRecord& record);

} // namespace ruvo
