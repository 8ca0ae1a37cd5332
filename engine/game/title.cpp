// The title screen and the status line, shown over the composed frame.
// SPDX-License-Identifier: MIT
#include "game/title.h"

#include <cstdio>

namespace ruvo {

std::string FormatStatusLine(std::uint32_t best, std::uint32_t score, std::uint32_t round)
{
    char text[256];
    std::snprintf(text, sizeof text, "HI-SCORE:%06u      SCORE:%06u      ROUND:%02u", best, score, round);
    return text;
}

int DrawTitle(Game& game)
{
    Mark title;
    title.kind = MarkKind::Title;
    AddMark(game.picture, title);
    return 1;
}

int DrawStatusLine(Game& game)
{
    Mark status;
    status.kind = MarkKind::Status;
    status.b = game.hiScores[0];
    status.c = game.score;
    status.d = game.round;
    status.x = game.lives;
    AddMark(game.picture, status);
    return 1;
}

} // namespace ruvo
