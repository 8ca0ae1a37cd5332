// Where the boss starts each round and how it moves on every tick of play.
// SPDX-License-Identifier: MIT
#include <array>

#include "game/boss.h"
#include "game/grid.h"
#include "game/wrapping.h"
#include "render/draw.h"

namespace ruvo {
namespace {

using BossPattern = int (*)(GameRecord& record, std::int32_t steer);

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

int InitBossPattern(GameRecord& record)
{
    PatternFor(record.round)(record, 0);
    return 1;
}

int MoveBoss(GameRecord& record)
{
    PatternFor(record.round)(record, 1);
    record.bossCol = WrapAdd(record.bossCol, record.bossDx);
    record.bossRow = WrapAdd(record.bossRow, record.bossDy);
    DrawSprite(record.frameDC, record.spriteDC, record.bossWork, PixelOf(record.bossCol), PixelOf(record.bossRow), 64);
    // The jumper finds the boss in the grid at the place drawn this tick.
    FillCells(record, record.bossCol, record.bossRow, 8, 8, CellBoss);
    return 1;
}

} // namespace ruvo
