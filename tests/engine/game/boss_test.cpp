// Tests of the boss: how it looks (its pictures, dither and hits), and of
// its ten patterns what the recorded games do not reach (their steps and
// rolls show in the traces of tests/sim, which meet every theme): the
// placement of every theme and of the wrapped rounds, and the counters that
// outlive a placement or a bound.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "game/boss.h"
#include "game/flow.h"
#include "settings/defaults.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

constexpr Pixel kRed = 0xFF0000;

using BossLook = testing::GameFixture;

TEST_F(BossLook, TintDithersTheFigureWhateverTheSpriteContextHolds)
{
    Start();
    Drawing& r = R().drawing;
    const auto tint = std::pair(r.bossTintSprite.image->Pixels(), r.bossTintSprite.mask->Pixels());
    for (std::uint32_t round = 1; round <= 10; ++round) {
        const std::uint32_t theme = RoundTheme(round);
        const std::array<Surface*, 4> leftInSpriteDC{nullptr, r.bossWork.image.get(), r.bossWork.mask.get(),
                                                     r.bossSprites[theme].image.get()};
        for (Surface* held : leftInSpriteDC) {
            G().round = round;
            // A stale look in bossWork must not show through.
            BlockTransfer(*r.bossWork.image, 0, 0, 64, 64, nullptr, 0, 0, RasterOp::PatCopy, kWhite);
            r.spriteDC.bitmap = held;
            ComposeBossSprite(G(), 1);
            DrawGame(r, G());
            // The theme's pair under the red dither: red on the figure at
            // every even row and column, the picture elsewhere on the
            // figure, black around it, and the mask as drawn.
            const SpritePair& plain = r.bossSprites[theme];
            ASSERT_TRUE(r.bossWork.mask->Pixels() == plain.mask->Pixels());
            std::int32_t reds = 0;
            for (std::int32_t y = 0; y < 64; ++y)
                for (std::int32_t x = 0; x < 64; ++x) {
                    const bool figure = plain.mask->At(x, y) == kBlack;
                    const bool dithered = figure && x % 2 == 0 && y % 2 == 0;
                    const Pixel want = dithered ? kRed : figure ? plain.image->At(x, y) : kBlack;
                    ASSERT_EQ(r.bossWork.image->At(x, y), want) << "theme " << theme << " at " << x << "," << y;
                    reds += dithered ? 1 : 0;
                }
            EXPECT_GT(reds, 0);
            // The context keeps a bitmap that outlives the call.
            EXPECT_EQ(r.spriteDC.bitmap, r.bossWork.image.get());
            // and the next round's boss is plain again.
            G().round = round % 10 + 1;
            ComposeBossSprite(G(), 0);
            DrawGame(r, G());
            EXPECT_TRUE(r.bossWork.image->Pixels() == r.bossSprites[RoundTheme(G().round)].image->Pixels());
        }
    }
    EXPECT_TRUE(std::pair(r.bossTintSprite.image->Pixels(), r.bossTintSprite.mask->Pixels()) == tint);
}

// A round under way with the boss one step right of the falling jumper's
// column, so that the coming tick's move brings it under the jumper's
// right-hand corner: a stomp. Arriving with no hits left, it is never beaten.
TEST_F(BossLook, ArrivingWithNoHitsLeftItIsNeverBeatenAndAWipeStepOutsideTheEightUncoversNothing)
{
    Play();
    ASSERT_EQ(G().state, StatePlay);
    Game& r = G();
    r.bossActive = 1;
    r.bossHits = 0;
    r.bossCol = 14;
    r.bossDx = -1;
    r.bossRow = 4;
    r.bossDy = 0;
    r.jumperRow = 10;
    r.jumperVy = 1;
    r.stompArmed = 1;
    Ticks(1);
    EXPECT_EQ(G().bossHits, -1);
    EXPECT_EQ(G().state, StatePlay);

    // The wipe's steps show in the recorded games; a step counter that is not
    // one of its eight steps uncovers nothing, and with the sound off it is silent.
    R().soundOn = 0;
    wave.played.clear();
    r.bossCol = 20;
    r.bossRow = 5;
    r.scrollX = 16;
    for (std::int32_t step : {-1, 8, 1000}) {
        r.bannerTicks = step;
        const Surface before = Frame();
        DissolveBoss(r);
        Show();
        EXPECT_TRUE(Frame().Pixels() == before.Pixels()) << step;
        EXPECT_EQ(r.bannerTicks, step + 1);
    }
    EXPECT_TRUE(wave.played.empty());
}

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

// A game with the play field and the boss's bounds as the game sets them
// (columns 0 to 47, rows 4 to 8), and no grid, so that MoveBoss only steers
// and moves; the boss placed for the round.
Game BossGame(std::uint32_t round, const ProgramState& program = {})
{
    Game game;
    GameDefaults(game);
    game.program = program;
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

TEST(StopAndGoAtTheBound, TurnsAndLetsTheHaltRunOutWithoutNewRolls)
{
    Game game = BossGame(6);
    game.bossCol = 0;
    // Draws taken until the next move halts the boss: skipping draws changes
    // nothing but the generator, just as other rolls would.
    const auto halts = [](UpcomingDraws d) { return d.Next() % 20 != 0 && d.Next() % 30 == 0; };
    for (int i = 0; i < 100000 && !halts(UpcomingDraws{game}); ++i)
        NextRandom(game);
    ASSERT_TRUE(halts(UpcomingDraws{game}));
    // The halting move rolls the drift and the halt; then only the drift is
    // rolled while the halt runs out. The boss is kept on row 6, where the
    // drift cannot reach a row bound, so the only rolls are the pattern's own.
    for (std::int32_t col = 1; col <= 3; ++col) {
        UpcomingDraws draws{game};
        if (draws.Next() % 20 == 0 || col == 1)
            draws.Next();
        game.bossRow = 6;
        game.bossDy = 0;
        MoveBoss(game);
        EXPECT_EQ(game.bossCol, col);
        EXPECT_EQ(game.program.seed, draws.Seed()) << "move " << col;
    }
}

} // namespace
} // namespace ruvo
