// The board as a page that works without scripts: the best games, each
// with links to watch it and to race it in the game's page.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "services/board/board_store.h"

namespace ruvo::board {

// The page runs no script and loads nothing but its own style.
constexpr const char* kBoardPagePolicy =
    "default-src 'none'; style-src 'self'; img-src 'self'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

// day: the challenge's day whose board it is, or empty for the whole board.
std::string BoardPage(const std::vector<BoardEntry>& rows, const std::string& day);

} // namespace ruvo::board
