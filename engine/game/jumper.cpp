// The jumper: bounces on the platform cells, dives, scores and loses lives.
// SPDX-License-Identifier: MIT
#include "game/jumper.h"

#include "audio/audio.h"
#include "game/banners.h"
#include "game/boss.h"
#include "game/grid.h"
#include "game/wrapping.h"

namespace ruvo {
namespace {

void Stomp(Game& game)
{
    game.jumperVy = -game.jumperVy;
    game.score += 100;
    game.stompArmed = 0;
    Ask(game, AskFor::Sound, SoundStomp);
    game.bossHits = WrapAdd(game.bossHits, -1);
    if (game.bossHits == 2)
        ComposeBossSprite(game, 1);
    if (game.bossHits != 0) {
        Mark silhouette;
        silhouette.kind = MarkKind::Silhouette;
        silhouette.x = 8 * game.bossCol;
        silhouette.y = 8 * game.bossRow;
        AddMark(game.picture, silhouette);
    } else {
        // Beaten: the wipe maps frame to stage with the offset on show.
        game.bannerTicks = 0;
        game.scrollX = WrapAdd(game.scrollX, -8);
        game.state = StateDissolve;
    }
}

} // namespace

int MoveJumper(Game& game)
{
    std::int32_t picture = game.jumperLook;
    const std::int32_t c = game.jumperCol;
    const std::int32_t b = WrapAdd(game.jumperRow, game.jumperVy);
    if (b < 0) {
        game.jumperVy = 1;
        game.jumperRow = 0;
        game.stompArmed = 1;
    }
    const std::uint8_t foot = GridCell(game, c, WrapAdd(b, 3));
    const std::uint8_t corners = GridCell(game, c, b) | GridCell(game, c + 3, b) | GridCell(game, c, WrapAdd(b, 3)) |
                                 GridCell(game, c + 3, WrapAdd(b, 3));

    if (foot == CellFloor) {
        if (game.lives == 0) {
            Ask(game, AskFor::Sound, SoundGameOver);
            ShowGameOver(game);
        } else {
            Ask(game, AskFor::Sound, SoundMiss);
            game.lives = WrapAdd(game.lives, -1);
            game.jumperVy = -1;
            game.stompArmed = 1;
        }
        picture += 1; // the hurt picture, for this one frame
    } else if (foot == CellPlatform) {
        Ask(game, AskFor::Sound, SoundBounce);
        game.score += 50;
        game.jumperVy = -1;
        game.stompArmed = 1;
    } else if ((corners & CellBoss) != 0 && game.stompArmed != 0) {
        Stomp(game);
    }

    game.jumperRow = WrapAdd(game.jumperRow, game.jumperVy);
    Mark jumper;
    jumper.kind = MarkKind::Jumper;
    jumper.a = static_cast<std::uint8_t>(picture & 3);
    jumper.x = 8 * c;
    jumper.y = 8 * game.jumperRow;
    AddMark(game.picture, jumper);
    return 1;
}

std::uint8_t ProbeBoss(const Game& game)
{
    const std::int32_t c = game.jumperCol;
    const std::int32_t b = WrapAdd(game.jumperRow, game.jumperVy);
    return GridCell(game, c + 1, b + 1) | GridCell(game, c + 2, b + 1) | GridCell(game, c + 1, b + 2) |
           GridCell(game, c + 2, b + 2);
}

int Dive(Game& game)
{
    if (game.jumperVy == 1)
        return 1;
    if (game.jumperRow >= 17)
        return 1;
    game.jumperVy = 1;
    if ((ProbeBoss(game) & CellBoss) == 0)
        game.stompArmed = 1;
    return 1;
}

} // namespace ruvo
