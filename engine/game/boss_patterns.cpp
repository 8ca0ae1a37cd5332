// The ten ways a boss moves, one per round theme. Each routine places the
// boss when its flag is 0 and otherwise steers it for the coming move; the
// move itself, the drawing and the cells belong to MoveBoss. The counters
// and headings of the patterns that need them are among the values the
// program keeps from game to game (game.program.boss); only their owner's
// placement resets them.
// SPDX-License-Identifier: MIT
#include "game/boss.h"
#include "game/wrapping.h"

namespace ruvo {
namespace {

// One draw of the generator, taken modulo n (never negative).
std::int32_t Roll(Game& game, std::int32_t n)
{
    const std::int32_t value = NextRandom(game);
    return n == 0 ? 0 : value % n;
}

std::int32_t Double(std::int32_t value)
{
    return WrapAdd(value, value);
}

// The boss waits just right of the field, heading left. The start row is
// each pattern's own choice.
void PlaceRightOfField(Game& game)
{
    game.bossCol = WrapAdd(game.bossColMax, 1);
    game.bossDx = -1;
    game.bossDy = 0;
}

std::int32_t RandomRow(Game& game)
{
    const std::int32_t rows = WrapAdd(WrapAdd(game.bossRowMax, WrapNegate(game.bossRowMin)), 1);
    return WrapAdd(Roll(game, rows), game.bossRowMin);
}

void EdgeTurn(Game& game)
{
    if (game.bossCol <= game.bossColMin)
        game.bossDx = 1;
    if (game.bossCol >= game.bossColMax)
        game.bossDx = -1;
}

void DriftRoll(Game& game, std::int32_t n)
{
    if (Roll(game, n) == 0)
        game.bossDy = Roll(game, 3) - 1;
}

// Keeps the next vertical step inside the row bounds by a fresh choice.
void RowGuard(Game& game)
{
    if (WrapAdd(game.bossRow, game.bossDy) < game.bossRowMin)
        game.bossDy = Roll(game, 2);
    if (WrapAdd(game.bossRow, game.bossDy) > game.bossRowMax)
        game.bossDy = Roll(game, 2) - 1;
}

// The dash and the lunge turn on the column the step would reach, so a
// doubled step never carries the boss past a bound: it becomes a single step
// the other way.
void TurnAtReachedColumn(Game& game, std::int32_t& heading)
{
    if (WrapAdd(game.bossCol, game.bossDx) < game.bossColMin) {
        heading = 1;
        game.bossDx = 1;
    }
    if (WrapAdd(game.bossCol, game.bossDx) > game.bossColMax) {
        heading = -1;
        game.bossDx = -1;
    }
}

bool StepLeavesRows(const Game& game)
{
    const std::int32_t next = WrapAdd(game.bossRow, game.bossDy);
    return next < game.bossRowMin || next > game.bossRowMax;
}

// Wandering and fluttering differ only in how often the drift is rolled.
// At the left bound the boss may linger: a roll of 0 keeps it standing.
void SteerWandering(Game& game, std::int32_t driftChance)
{
    DriftRoll(game, driftChance);
    if (game.bossCol <= game.bossColMin)
        game.bossDx = Roll(game, 2);
    if (game.bossCol >= game.bossColMax)
        game.bossDx = -1;
    RowGuard(game);
}

} // namespace

int SweepHighPattern(Game& game, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = 4;
        return 1;
    }
    EdgeTurn(game);
    return 1;
}

int SweepLowPattern(Game& game, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(game);
        // The boss's lower edge ends just above the platform cells.
        game.bossRow = WrapAdd(game.fieldHeight, -96) / 8;
        return 1;
    }
    EdgeTurn(game);
    return 1;
}

int StairsPattern(Game& game, std::int32_t steer)
{
    BossCounters& c = game.program.boss;
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = RandomRow(game);
        c.stairsTicks = 0;
        c.stairsDir = 1;
        return 1;
    }
    if (c.stairsTicks >= 10) {
        game.bossDy = c.stairsDir;
        if (StepLeavesRows(game))
            game.bossDy = 0;
    }
    if (c.stairsTicks == 13) {
        c.stairsTicks = 0;
        c.stairsDir = WrapNegate(c.stairsDir);
        game.bossDy = 0;
    } else {
        c.stairsTicks = WrapAdd(c.stairsTicks, 1);
    }
    EdgeTurn(game);
    return 1;
}

int HopPattern(Game& game, std::int32_t steer)
{
    BossCounters& c = game.program.boss;
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = game.bossRowMax;
        c.hopTicks = 0;
        return 1;
    }
    if (c.hopTicks == 10)
        game.bossDy = -1;
    if (WrapAdd(game.bossRow, game.bossDy) < game.bossRowMin)
        game.bossDy = WrapNegate(game.bossDy);
    if (WrapAdd(game.bossRow, game.bossDy) > game.bossRowMax) {
        // Landed: the count of level ticks starts again.
        game.bossDy = 0;
        c.hopTicks = 0;
    }
    EdgeTurn(game);
    c.hopTicks = WrapAdd(c.hopTicks, 1);
    return 1;
}

int WanderPattern(Game& game, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = RandomRow(game);
        return 1;
    }
    SteerWandering(game, 20);
    return 1;
}

int StopAndGoPattern(Game& game, std::int32_t steer)
{
    BossCounters& c = game.program.boss;
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = RandomRow(game);
        c.stopHeading = -1;
        game.bossDx = c.stopHeading;
        c.stopTicks = 0;
        return 1;
    }
    DriftRoll(game, 20);
    RowGuard(game);
    if (c.stopTicks > 0) {
        c.stopTicks = WrapAdd(c.stopTicks, -1);
        return 1;
    }
    game.bossDx = c.stopHeading;
    if (Roll(game, 30) == 0) {
        game.bossDx = 0;
        c.stopTicks = 2;
    }
    // A bound overrules a halt, but the halt's countdown still runs.
    if (game.bossCol <= game.bossColMin) {
        c.stopHeading = 1;
        game.bossDx = 1;
    }
    if (game.bossCol >= game.bossColMax) {
        c.stopHeading = -1;
        game.bossDx = -1;
    }
    return 1;
}

int DashPattern(Game& game, std::int32_t steer)
{
    BossCounters& c = game.program.boss;
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = RandomRow(game);
        c.dashHeading = -1;
        c.dashTicks = 0;
        return 1;
    }
    game.bossDx = c.dashHeading;
    if (c.dashTicks > 0) {
        game.bossDx = Double(game.bossDx);
        c.dashTicks = WrapAdd(c.dashTicks, -1);
    } else if (Roll(game, 30) == 0) {
        game.bossDx = Double(game.bossDx);
        c.dashTicks = 2;
    }
    TurnAtReachedColumn(game, c.dashHeading);
    DriftRoll(game, 20);
    RowGuard(game);
    return 1;
}

int LungePattern(Game& game, std::int32_t steer)
{
    BossCounters& c = game.program.boss;
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = RandomRow(game);
        c.lungeHeading = -1;
        c.lungeTicks = 0;
        return 1;
    }
    if (c.lungeTicks > 0) {
        // Each tick of a lunge doubles the step that the turns left last tick.
        game.bossDx = Double(game.bossDx);
        c.lungeTicks = WrapAdd(c.lungeTicks, -1);
    } else {
        game.bossDx = c.lungeHeading;
        if (Roll(game, 20) == 0) {
            // A 0 halts the boss for three ticks, a 1 starts a lunge.
            game.bossDx = 2 * Roll(game, 2) * c.lungeHeading;
            c.lungeTicks = 2;
        }
    }
    TurnAtReachedColumn(game, c.lungeHeading);
    DriftRoll(game, 20);
    RowGuard(game);
    return 1;
}

int FlutterPattern(Game& game, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = RandomRow(game);
        return 1;
    }
    SteerWandering(game, 10);
    return 1;
}

int BouncePattern(Game& game, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(game);
        game.bossRow = RandomRow(game);
        game.bossDy = 2 * Roll(game, 2) - 1;
        return 1;
    }
    EdgeTurn(game);
    if (StepLeavesRows(game))
        game.bossDy = WrapNegate(game.bossDy);
    return 1;
}

} // namespace ruvo
