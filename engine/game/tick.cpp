// One tick of the game: scroll, jumper, boss, status line and the frame shown.
// SPDX-License-Identifier: MIT
#include "game/banners.h"
#include "game/boss.h"
#include "game/flow.h"
#include "game/grid.h"
#include "game/jumper.h"
#include "game/scenery.h"
#include "game/title.h"

namespace ruvo {

TickEnd GameTick(Game& game)
{
    switch (game.state & 0xFF) {
    case StateTitle:
        ScrollStage(game);
        AnimateSun(game);
        DrawTitle(game);
        DrawStatusLine(game);
        Ask(game, AskFor::Invalidate);
        break;
    case StatePlay:
        if (game.bossActive != 0)
            FillCells(game, game.bossCol, game.bossRow, 8, 8, CellEmpty);
        ScrollStage(game);
        AnimateSun(game);
        if (game.bossActive != 0)
            MoveBoss(game);
        MoveJumper(game);
        AdvanceRoundClock(game);
        DrawStatusLine(game);
        Ask(game, AskFor::Invalidate);
        break;
    case StatePause:
        ShowPause(game);
        Ask(game, AskFor::Invalidate);
        break;
    case StateBanner:
        // The banner's frame stays on screen: nothing is shown anew.
        return BannerCountdown(game);
    case StateDissolve:
        DissolveBoss(game);
        break;
    default:
        break;
    }
    return TickEnd::Going;
}

} // namespace ruvo
