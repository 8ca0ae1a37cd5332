// The game's generator and its requests of the session that plays it.
// SPDX-License-Identifier: MIT
#include "record/game.h"

namespace ruvo {

std::int32_t NextRandom(Game& game)
{
    std::uint32_t& seed = game.program.seed;
    seed = seed * 214013u + 2531011u;
    return static_cast<std::int32_t>((seed >> 16) & 0x7FFFu);
}

void Ask(Game& game, AskFor what, std::int32_t value)
{
    game.requests.push_back({what, value});
}

} // namespace ruvo
