#pragma once

#include <cstdint>

#include "game/record.h"

namespace ruvo {

// Every bitmap of the game, loaded once at start-up as image/mask pairs,
// together with the six sound resources.
int LoadSpritePair(const ResourceLibrary* module, SpritePair& pair, std::uint32_t id);
int FreeSpritePair(SpritePair& pair);
int LoadGraphics(GameRecord& record);
int FreeGraphics(GameRecord& record);

} // namespace ruvo
