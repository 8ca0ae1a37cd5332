// One tick of play: scroll, jumper, boss, status line and the frame shown.
// SPDX-License-Identifier: MIT
#include "game/banners.h"
#include "game/boss.h"
#include "game/flow.h"
#include "game/grid.h"
#include "game/jumper.h"
#include "game/scenery.h"
#include "game/title.h"
#include "game/window.h"

namespace ruvo {

int GameTick(GameRecord& record)
{
    switch (record.state & 0xFF) {
    case StateTitle:
        ScrollStage(record);
        AnimateSun(record);
        DrawTitle(record);
        DrawStatusLine(record);
        InvalidateWindow(record);
        break;
    case StatePlay:
        if (record.bossActive != 0)
            FillCells(record, record.bossCol, record.bossRow, 8, 8, CellEmpty);
        ScrollStage(record);
        AnimateSun(record);
        if (record.bossActive != 0)
            MoveBoss(record);
        MoveJumper(record);
        AdvanceRoundClock(record);
        DrawStatusLine(record);
        InvalidateWindow(record);
        break;
    case StatePause:
        ShowPause(record);
        InvalidateWindow(record);
        break;
    case StateBanner:
        // The banner's frame stays on screen: nothing is drawn or invalidated.
        BannerCountdown(record);
        break;
    case StateDissolve:
        DissolveBoss(record);
        break;
    default:
        break;
    }
    return 1;
}

} // namespace ruvo
