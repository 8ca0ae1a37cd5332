// The boss's look, plain or red-dithered when it is nearly beaten, and the
// lattice wipe that uncovers the scenery behind a beaten boss, as the game
// decides them (game/drawing.cpp draws them).
// SPDX-License-Identifier: MIT
#include "audio/audio.h"
#include "game/banners.h"
#include "game/boss.h"
#include "game/grid.h"
#include "game/wrapping.h"

namespace ruvo {

int ComposeBossSprite(Game& game, std::int32_t tinted)
{
    SetBossLook(game.picture, RoundTheme(game.round), tinted != 0);
    return 1;
}

int DissolveBoss(Game& game)
{
    // Drawn into the stage, the jumper is uncovered with the scenery and
    // stays visible where it overlaps the boss.
    Mark stamp;
    stamp.kind = MarkKind::Stamp;
    stamp.a = static_cast<std::uint8_t>(game.jumperLook & 3);
    stamp.x = WrapAdd(game.scrollX, PixelOf(game.jumperCol));
    stamp.y = PixelOf(game.jumperRow);
    AddMark(game.picture, stamp);
    Ask(game, AskFor::Sound, SoundDissolve);

    // The step counter is always 0 to 7 here; any other value uncovers nothing.
    if (game.bannerTicks >= 0 && game.bannerTicks < 8) {
        Mark wipe;
        wipe.kind = MarkKind::Wipe;
        wipe.a = static_cast<std::uint8_t>(game.bannerTicks);
        wipe.x = PixelOf(game.bossCol);
        wipe.y = PixelOf(game.bossRow);
        wipe.b = static_cast<std::uint32_t>(game.scrollX);
        AddMark(game.picture, wipe);
    }

    game.bannerTicks = WrapAdd(game.bannerTicks, 1);
    if (game.bannerTicks == 8)
        ShowRoundClear(game);
    Ask(game, AskFor::Invalidate);
    return 1;
}

} // namespace ruvo
