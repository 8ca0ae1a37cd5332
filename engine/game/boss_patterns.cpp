// The ten ways a boss moves, one per round theme. Each routine places the
// boss when its flag is 0 and otherwise steers it for the coming move; the
// move itself, the drawing and the cells belong to MoveBoss.
// SPDX-License-Identifier: MIT
#include "game/boss.h"
#include "game/wrapping.h"

namespace ruvo {
namespace {

// Counters and headings of the patterns that need them. They live for the
// whole run, shared by every game; only their owner's placement resets them.
std::int32_t stairsTicks = 0;
std::int32_t stairsDir = 0;
std::int32_t hopTicks = 0;
std::int32_t stopHeading = 0;
std::int32_t stopTicks = 0;
std::int32_t dashHeading = 0;
std::int32_t dashTicks = 0;
std::int32_t lungeHeading = 0;
std::int32_t lungeTicks = 0;

// One draw of the generator, taken modulo n (never negative).
std::int32_t Roll(std::int32_t n)
{
    const std::int32_t value = NextRandom();
    return n == 0 ? 0 : value % n;
}

std::int32_t Double(std::int32_t value)
{
    return WrapAdd(value, value);
}

// The boss waits just right of the field, heading left. The start row is
// each pattern's own choice.
void PlaceRightOfField(GameRecord& record)
{
    record.bossCol = WrapAdd(record.bossColMax, 1);
    record.bossDx = -1;
    record.bossDy = 0;
}

std::int32_t RandomRow(const GameRecord& record)
{
    const std::int32_t rows = WrapAdd(WrapAdd(record.bossRowMax, WrapNegate(record.bossRowMin)), 1);
    return WrapAdd(Roll(rows), record.bossRowMin);
}

void EdgeTurn(GameRecord& record)
{
    if (record.bossCol <= record.bossColMin)
        record.bossDx = 1;
    if (record.bossCol >= record.bossColMax)
        record.bossDx = -1;
}

void DriftRoll(GameRecord& record, std::int32_t n)
{
    if (Roll(n) == 0)
        record.bossDy = Roll(3) - 1;
}

// Keeps the next vertical step inside the row bounds by a fresh choice.
void RowGuard(GameRecord& record)
{
    if (WrapAdd(record.bossRow, record.bossDy) < record.bossRowMin)
        record.bossDy = Roll(2);
    if (WrapAdd(record.bossRow, record.bossDy) > record.bossRowMax)
        record.bossDy = Roll(2) - 1;
}

// The dash and the lunge turn on the column the step would reach, so a
// doubled step never carries the boss past a bound: it becomes a single step
// the other way.
void TurnAtReachedColumn(GameRecord& record, std::int32_t& heading)
{
    if (WrapAdd(record.bossCol, record.bossDx) < record.bossColMin) {
        heading = 1;
        record.bossDx = 1;
    }
    if (WrapAdd(record.bossCol, record.bossDx) > record.bossColMax) {
        heading = -1;
        record.bossDx = -1;
    }
}

bool StepLeavesRows(const GameRecord& record)
{
    const std::int32_t next = WrapAdd(record.bossRow, record.bossDy);
    return next < record.bossRowMin || next > record.bossRowMax;
}

// Wandering and fluttering differ only in how often the drift is rolled.
// At the left bound the boss may linger: a roll of 0 keeps it standing.
void SteerWandering(GameRecord& record, std::int32_t driftChance)
{
    DriftRoll(record, driftChance);
    if (record.bossCol <= record.bossColMin)
        record.bossDx = Roll(2);
    if (record.bossCol >= record.bossColMax)
        record.bossDx = -1;
    RowGuard(record);
}

} // namespace

int SweepHighPattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = 4;
        return 1;
    }
    EdgeTurn(record);
    return 1;
}

int SweepLowPattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        // The boss's lower edge ends just above the platform cells.
        record.bossRow = WrapAdd(record.fieldHeight, -96) / 8;
        return 1;
    }
    EdgeTurn(record);
    return 1;
}

int StairsPattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = RandomRow(record);
        stairsTicks = 0;
        stairsDir = 1;
        return 1;
    }
    if (stairsTicks >= 10) {
        record.bossDy = stairsDir;
        if (StepLeavesRows(record))
            record.bossDy = 0;
    }
    if (stairsTicks == 13) {
        stairsTicks = 0;
        stairsDir = WrapNegate(stairsDir);
        record.bossDy = 0;
    } else {
        stairsTicks = WrapAdd(stairsTicks, 1);
    }
    EdgeTurn(record);
    return 1;
}

int HopPattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = record.bossRowMax;
        hopTicks = 0;
        return 1;
    }
    if (hopTicks == 10)
        record.bossDy = -1;
    if (WrapAdd(record.bossRow, record.bossDy) < record.bossRowMin)
        record.bossDy = WrapNegate(record.bossDy);
    if (WrapAdd(record.bossRow, record.bossDy) > record.bossRowMax) {
        // Landed: the count of level ticks starts again.
        record.bossDy = 0;
        hopTicks = 0;
    }
    EdgeTurn(record);
    hopTicks = WrapAdd(hopTicks, 1);
    return 1;
}

int WanderPattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = RandomRow(record);
        return 1;
    }
    SteerWandering(record, 20);
    return 1;
}

int StopAndGoPattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = RandomRow(record);
        stopHeading = -1;
        record.bossDx = stopHeading;
        stopTicks = 0;
        return 1;
    }
    DriftRoll(record, 20);
    RowGuard(record);
    if (stopTicks > 0) {
        stopTicks = WrapAdd(stopTicks, -1);
        return 1;
    }
    record.bossDx = stopHeading;
    if (Roll(30) == 0) {
        record.bossDx = 0;
        stopTicks = 2;
    }
    // A bound overrules a halt, but the halt's countdown still runs.
    if (record.bossCol <= record.bossColMin) {
        stopHeading = 1;
        record.bossDx = 1;
    }
    if (record.bossCol >= record.bossColMax) {
        stopHeading = -1;
        record.bossDx = -1;
    }
    return 1;
}

int DashPattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = RandomRow(record);
        dashHeading = -1;
        dashTicks = 0;
        return 1;
    }
    record.bossDx = dashHeading;
    if (dashTicks > 0) {
        record.bossDx = Double(record.bossDx);
        dashTicks = WrapAdd(dashTicks, -1);
    } else if (Roll(30) == 0) {
        record.bossDx = Double(record.bossDx);
        dashTicks = 2;
    }
    TurnAtReachedColumn(record, dashHeading);
    DriftRoll(record, 20);
    RowGuard(record);
    return 1;
}

int LungePattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = RandomRow(record);
        lungeHeading = -1;
        lungeTicks = 0;
        return 1;
    }
    if (lungeTicks > 0) {
        // Each tick of a lunge doubles the step that the turns left last tick.
        record.bossDx = Double(record.bossDx);
        lungeTicks = WrapAdd(lungeTicks, -1);
    } else {
        record.bossDx = lungeHeading;
        if (Roll(20) == 0) {
            // A 0 halts the boss for three ticks, a 1 starts a lunge.
            record.bossDx = 2 * Roll(2) * lungeHeading;
            lungeTicks = 2;
        }
    }
    TurnAtReachedColumn(record, lungeHeading);
    DriftRoll(record, 20);
    RowGuard(record);
    return 1;
}

int FlutterPattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = RandomRow(record);
        return 1;
    }
    SteerWandering(record, 10);
    return 1;
}

int BouncePattern(GameRecord& record, std::int32_t steer)
{
    if (steer == 0) {
        PlaceRightOfField(record);
        record.bossRow = RandomRow(record);
        record.bossDy = 2 * Roll(2) - 1;
        return 1;
    }
    EdgeTurn(record);
    if (StepLeavesRows(record))
        record.bossDy = WrapNegate(record.bossDy);
    return 1;
}

} // namespace ruvo
