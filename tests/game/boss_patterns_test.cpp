#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "game/boss.h"
#include "game/flow.h"
#include "game/grid.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

// The generator's rule, followed from the present seed, so that a test can
// see the coming draws without taking them.
class UpcomingDraws {
  public:
    UpcomingDraws() : seed_(RandomSeed()) {}
    std::int32_t Next()
    {
        seed_ = seed_ * 214013u + 2531011u;
        return static_cast<std::int32_t>((seed_ >> 16) & 0x7FFFu);
    }
    std::uint32_t Seed() const { return seed_; }

  private:
    std::uint32_t seed_;
};

// Draws from the generator until the coming draws suit the test. Skipping
// draws changes nothing but the generator, just as other rolls would.
template <typename Wanted> void SkipDrawsUntil(Wanted wanted)
{
    for (int i = 0; i < 100000 && !wanted(UpcomingDraws{}); ++i)
        NextRandom();
    ASSERT_TRUE(wanted(UpcomingDraws{}));
}

// A record with the play field and the boss's bounds as the game sets them;
// no surfaces and no grid, so MoveBoss only steers and moves.
std::unique_ptr<GameRecord> BossRecord(std::uint32_t round)
{
    auto record = std::make_unique<GameRecord>();
    record->fieldWidth = 384;
    record->fieldHeight = 200;
    record->bossColMin = 0;
    record->bossColMax = 47;
    record->bossRowMin = 4;
    record->bossRowMax = 8;
    record->round = round;
    InitBossPattern(*record);
    return record;
}

struct PlacementCase {
    std::uint32_t round;
    int rolls;
};

TEST(BossPlacement, RollsOnlyForARandomRowAndTheBouncersHeading)
{
    const PlacementCase cases[] = {{1, 0}, {2, 0}, {3, 1},  {4, 0},  {5, 1},  {6, 1}, {7, 1},
                                   {8, 1}, {9, 1}, {10, 2}, {11, 0}, {21, 0}, {0, 1}};
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.round);
        UpcomingDraws draws;
        std::vector<std::int32_t> values;
        for (int i = 0; i < c.rolls; ++i)
            values.push_back(draws.Next());
        const auto record = BossRecord(c.round);
        EXPECT_EQ(RandomSeed(), draws.Seed());
        EXPECT_EQ(record->bossCol, 48);
        EXPECT_EQ(record->bossDx, -1);
        const std::uint32_t theme = RoundTheme(c.round);
        if (theme == 0)
            EXPECT_EQ(record->bossRow, 4);
        else if (theme == 1)
            EXPECT_EQ(record->bossRow, 13);
        else if (theme == 3)
            EXPECT_EQ(record->bossRow, 8);
        else
            EXPECT_EQ(record->bossRow, values[0] % 5 + 4);
        EXPECT_EQ(record->bossDy, theme == 9 ? 2 * (values[1] % 2) - 1 : 0);
    }
}

TEST(Hop, KeepsItsCountThroughAnotherPatternsPlacement)
{
    const auto hopper = BossRecord(4);
    for (int tick = 1; tick <= 5; ++tick)
        MoveBoss(*hopper);
    // A round of another theme is placed in between; the hop's count is not its to reset.
    BossRecord(1);
    for (int tick = 6; tick <= 10; ++tick) {
        MoveBoss(*hopper);
        ASSERT_EQ(hopper->bossRow, 8);
    }
    MoveBoss(*hopper);
    EXPECT_EQ(hopper->bossRow, 7);
}

// Steers with the boss kept on row 6, where the drift cannot reach a row
// bound, so the only rolls are the pattern's own.
void MoveOnRowSix(GameRecord& record)
{
    record.bossRow = 6;
    record.bossDy = 0;
    MoveBoss(record);
}

class StopAndGo : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(StopAndGo, HaltsForThreeTicksOnARollOfZero)
{
    const auto record = BossRecord(GetParam());
    record->bossCol = 20;
    // Drift roll, then the halt roll: no drift this time, and a halt.
    SkipDrawsUntil([](UpcomingDraws d) { return d.Next() % 20 != 0 && d.Next() % 30 == 0; });
    for (int tick = 1; tick <= 3; ++tick) {
        MoveOnRowSix(*record);
        ASSERT_EQ(record->bossCol, 20) << "tick " << tick;
    }
    SkipDrawsUntil([](UpcomingDraws d) {
        if (d.Next() % 20 == 0)
            d.Next();
        return d.Next() % 30 != 0;
    });
    MoveOnRowSix(*record);
    EXPECT_EQ(record->bossCol, 19);
}

// Round 0 wraps to the sixth theme, whose boss stops and goes.
INSTANTIATE_TEST_SUITE_P(SixthTheme, StopAndGo, ::testing::Values(6u, 0u));

TEST(StopAndGoAtTheBound, TurnsAndLetsTheHaltRunOutWithoutNewRolls)
{
    const auto record = BossRecord(6);
    record->bossCol = 0;
    SkipDrawsUntil([](UpcomingDraws d) { return d.Next() % 20 != 0 && d.Next() % 30 == 0; });
    MoveOnRowSix(*record);
    EXPECT_EQ(record->bossCol, 1);
    for (std::int32_t col = 2; col <= 3; ++col) {
        UpcomingDraws draws;
        if (draws.Next() % 20 == 0)
            draws.Next();
        MoveOnRowSix(*record);
        EXPECT_EQ(record->bossCol, col);
        EXPECT_EQ(RandomSeed(), draws.Seed()) << "only the drift is rolled while the halt runs out";
    }
}

// Columns after each of three ticks from a start column, once the dash's
// roll of 30 (round 7) or the lunge's rolls of 20 and 2 (round 8) have come.
struct ChargeCase {
    std::uint32_t round;
    std::int32_t startCol;
    bool lungeGoes;
    std::int32_t cols[3];
};

TEST(DashAndLunge, DoubleTheirStepsAndTurnBeforeTheBound)
{
    const ChargeCase cases[] = {
        {7, 48, true, {46, 44, 42}},  // the dash begins on the first active tick
        {7, 1, true, {2, 4, 6}},      // and turns when a doubled step would pass the left bound
        {8, 30, true, {28, 24, 16}},  // a lunge doubles its step on each of three ticks
        {8, 3, true, {1, 2, 4}},      // turns before a doubled step passes the bound
        {8, 30, false, {30, 30, 30}}, // a halt stands for three ticks
        {8, 48, false, {47, 45, 41}}, // but a halt at column 48 turns into steps of 1, 2 and 4
    };
    for (const ChargeCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "round " << c.round << " from " << c.startCol);
        const auto record = BossRecord(c.round);
        record->bossCol = c.startCol;
        if (c.round == 7)
            SkipDrawsUntil([](UpcomingDraws d) { return d.Next() % 30 == 0; });
        else
            SkipDrawsUntil([&](UpcomingDraws d) { return d.Next() % 20 == 0 && (d.Next() % 2 == 1) == c.lungeGoes; });
        for (std::int32_t col : c.cols) {
            MoveBoss(*record);
            ASSERT_EQ(record->bossCol, col);
        }
    }
}

struct LingerCase {
    std::uint32_t round;
    std::int32_t driftChance;
};

void PrintTo(const LingerCase& c, std::ostream* os)
{
    *os << "round " << c.round;
}

class LingerAtLeftBound : public ::testing::TestWithParam<LingerCase> {};

// The roll of 2 that decides whether the boss leaves the left bound on the
// coming tick, after the drift's rolls.
std::int32_t LeaveRoll(UpcomingDraws draws, std::int32_t driftChance)
{
    if (draws.Next() % driftChance == 0)
        draws.Next();
    return draws.Next() % 2;
}

TEST_P(LingerAtLeftBound, HoldsOnAZeroAndLeavesOnTheFirstOne)
{
    const LingerCase c = GetParam();
    const auto record = BossRecord(c.round);
    record->bossCol = 0;
    SkipDrawsUntil([&](UpcomingDraws d) { return LeaveRoll(d, c.driftChance) == 0; });
    int holds = 0;
    for (int tick = 0; tick < 200 && record->bossCol == 0; ++tick) {
        const bool leaves = LeaveRoll(UpcomingDraws{}, c.driftChance) == 1;
        MoveOnRowSix(*record);
        ASSERT_EQ(record->bossCol, leaves ? 1 : 0);
        holds += leaves ? 0 : 1;
    }
    EXPECT_GE(holds, 1);
    EXPECT_EQ(record->bossCol, 1);
}

INSTANTIATE_TEST_SUITE_P(WanderAndFlutter, LingerAtLeftBound, ::testing::Values(LingerCase{5, 20}, LingerCase{9, 10}),
                         [](const auto& caseInfo) { return "Round" + std::to_string(caseInfo.param.round); });

struct GuardCase {
    std::int32_t row;
    std::int32_t dy;
};

void PrintTo(const GuardCase& c, std::ostream* os)
{
    *os << "row " << c.row << " step " << c.dy;
}

class RowGuard : public ::testing::TestWithParam<GuardCase> {};

// A wandering boss in mid-field with no drift this tick: the guard alone
// decides its vertical step, rolling afresh only when the step would leave
// rows 4 to 8.
TEST_P(RowGuard, RollsAFreshStepOnlyWhenTheRowsWouldBeLeft)
{
    const GuardCase c = GetParam();
    const auto record = BossRecord(5);
    record->bossCol = 20;
    record->bossRow = c.row;
    record->bossDy = c.dy;
    SkipDrawsUntil([](UpcomingDraws d) { return d.Next() % 20 != 0; });
    UpcomingDraws draws;
    draws.Next();
    std::int32_t wantDy = c.dy;
    if (c.row + c.dy < 4)
        wantDy = draws.Next() % 2;
    if (c.row + wantDy > 8)
        wantDy = draws.Next() % 2 - 1;
    MoveBoss(*record);
    EXPECT_EQ(record->bossRow, c.row + wantDy);
    EXPECT_EQ(RandomSeed(), draws.Seed());
}

INSTANTIATE_TEST_SUITE_P(AtTheRowBounds, RowGuard,
                         ::testing::Values(GuardCase{4, 0}, GuardCase{4, -1}, GuardCase{5, -1}, GuardCase{8, 0},
                                           GuardCase{8, 1}, GuardCase{7, 1}));

TEST(Bounce, ReflectsAtOnceFromTheLowerBoundAndTouchesBothBounds)
{
    const auto record = BossRecord(10);
    record->bossRow = 8;
    record->bossDy = 1;
    const std::uint32_t seed = RandomSeed();
    const std::int32_t expected[] = {7, 6, 5, 4, 5, 6, 7, 8, 7};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        MoveBoss(*record);
        ASSERT_EQ(record->bossRow, expected[i]) << "tick " << i + 1;
        ASSERT_EQ(record->bossCol, 47 - static_cast<std::int32_t>(i));
    }
    EXPECT_EQ(RandomSeed(), seed);
}

} // namespace
} // namespace ruvo
