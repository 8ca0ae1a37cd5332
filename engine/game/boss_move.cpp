// Where the boss starts each round and how it moves on every tick of play.
// SPDX-License-Identifier: MIT
#include <array>

#include "game/boss.h"
#include "game/grid.h"
#include "game/wrapping.h"

namespace ruvo {
namespace {

using BossPattern = int (*)(Game& game, std::int32_t steer);

// One pattern per round theme, in theme order.
constexpr std::array<BossPattern, 10> kBossPatterns{
    SweepHighPattern, SweepLowPattern, StairsPattern, HopPattern,     WanderPattern,
    StopAndGoPattern, DashPattern,     LungePattern,  FlutterPattern, BouncePattern,
};

BossPattern PatternFor(std::uint32_t round)
{
    return kBossPatterns[RoundTheme(round)];
}

} // namespace

int InitBossPattern(Game& game)
{
    PatternFor(game.round)(game, 0);
    return 1;
}

int MoveBoss(Game& game)
{
    PatternFor(game.round)(game, 1);
    game.bossCol = WrapAdd(game.bossCol, game.bossDx);
    game.bossRow = WrapAdd(game.bossRow, game.bossDy);
    Mark boss;
    boss.kind = MarkKind::Boss;
    boss.x = PixelOf(game.bossCol);
    boss.y = PixelOf(game.bossRow);
    AddMark(game.picture, boss);
    // The jumper finds the boss in the grid at the place shown this tick.
    FillCells(game, game.bossCol, game.bossRow, 8, 8, CellBoss);
    return 1;
}

} // namespace ruvo
