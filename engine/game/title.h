// The title screen and the status line.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "record/game.h"

namespace ruvo {

constexpr const char* kLogoText = "R u v o +";
constexpr const char* kCreditText = "(C)2026 TOLP   PUSH F2 KEY";

// The status line's text: best score, score and round.
std::string FormatStatusLine(std::uint32_t best, std::uint32_t score, std::uint32_t round);

int DrawTitle(Game& game);
// The scores and round across the top, and a small icon per life below.
int DrawStatusLine(Game& game);

} // namespace ruvo
