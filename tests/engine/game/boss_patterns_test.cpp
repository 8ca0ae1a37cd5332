// The ten patterns' steps and rolls show in the recorded games' traces
// (tests/sim), which meet every theme; here what those games do not reach:
// the placement of every theme and of the wrapped rounds, and the counters
// that outlive a placement or a bound.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "game/boss.h"
#include "game/flow.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

// The generator's rule, followed from a game's present seed, so that a test
// can see the coming draws without taking them.
class UpcomingDraws {
  public:
    explicit UpcomingDraws(const Game& game) : seed_(game.program.seed) {}
    std::int32_t Next()
    {
        seed_ = seed_ * 214013u + 2531011u;
        return static_cast<std::int32_t>((seed_ >> 16) & 0x7FFFu);
    }
    std::uint32_t Seed() const { return seed_; }

  private:
    std::uint32_t seed_;
};

// Draws from the game's generator until the coming draws suit the test.
// Skipping draws changes nothing but the generator, just as other rolls would.
template <typename Wanted> void SkipDrawsUntil(Game& game, Wanted wanted)
{
    for (int i = 0; i < 100000 && !wanted(UpcomingDraws{game}); ++i)
        NextRandom(game);
    ASSERT_TRUE(wanted(UpcomingDraws{game}));
}

// A game with the play field and the boss's bounds as the game sets them,
// and no grid, so that MoveBoss only steers and moves; the boss placed for
// the round.
Game BossGame(std::uint32_t round, const ProgramState& program = {})
{
    Game game;
    game.program = program;
    game.fieldWidth = 384;
    game.fieldHeight = 200;
    game.bossColMin = 0;
    game.bossColMax = 47;
    game.bossRowMin = 4;
    game.bossRowMax = 8;
    game.round = round;
    InitBossPattern(game);
    return game;
}

TEST(BossPlacement, RollsOnlyForARandomRowAndTheBouncersHeading)
{
    // Each round with the number of rolls its placement takes.
    const std::pair<std::uint32_t, int> cases[] = {{1, 0}, {2, 0}, {3, 1},  {4, 0},  {5, 1},  {6, 1}, {7, 1},
                                                   {8, 1}, {9, 1}, {10, 2}, {11, 0}, {21, 0}, {0, 1}};
    for (const auto& [round, rolls] : cases) {
        SCOPED_TRACE(round);
        UpcomingDraws draws{Game{}};
        std::vector<std::int32_t> values;
        for (int i = 0; i < rolls; ++i)
            values.push_back(draws.Next());
        const Game game = BossGame(round);
        EXPECT_EQ(game.program.seed, draws.Seed());
        EXPECT_EQ(game.bossCol, 48);
        EXPECT_EQ(game.bossDx, -1);
        const std::uint32_t theme = RoundTheme(round);
        EXPECT_EQ(game.bossRow, theme == 0 ? 4 : theme == 1 ? 13 : theme == 3 ? 8 : values[0] % 5 + 4);
        EXPECT_EQ(game.bossDy, theme == 9 ? 2 * (values[1] % 2) - 1 : 0);
    }
}

TEST(Hop, KeepsItsCountThroughAnotherPatternsPlacement)
{
    Game hopper = BossGame(4);
    for (int tick = 1; tick <= 5; ++tick)
        MoveBoss(hopper);
    // A round of another theme is placed in between, with the same program
    // values; the hop's count is not its to reset.
    hopper.program = BossGame(1, hopper.program).program;
    for (int tick = 6; tick <= 10; ++tick) {
        MoveBoss(hopper);
        ASSERT_EQ(hopper.bossRow, 8);
    }
    MoveBoss(hopper);
    EXPECT_EQ(hopper.bossRow, 7);
}

// Steers with the boss kept on row 6, where the drift cannot reach a row
// bound, so the only rolls are the pattern's own.
void MoveOnRowSix(Game& game)
{
    game.bossRow = 6;
    game.bossDy = 0;
    MoveBoss(game);
}

TEST(StopAndGoAtTheBound, TurnsAndLetsTheHaltRunOutWithoutNewRolls)
{
    Game game = BossGame(6);
    game.bossCol = 0;
    SkipDrawsUntil(game, [](UpcomingDraws d) { return d.Next() % 20 != 0 && d.Next() % 30 == 0; });
    MoveOnRowSix(game);
    EXPECT_EQ(game.bossCol, 1);
    for (std::int32_t col = 2; col <= 3; ++col) {
        UpcomingDraws draws{game};
        if (draws.Next() % 20 == 0)
            draws.Next();
        MoveOnRowSix(game);
        EXPECT_EQ(game.bossCol, col);
        EXPECT_EQ(game.program.seed, draws.Seed()) << "only the drift is rolled while the halt runs out";
    }
}

} // namespace
} // namespace ruvo
