// Tests of a round and what it plays over: the game's flow (title, rounds,
// banners, hurry-up and game over), the jumper (bounces, dives, scores and
// lives), and the scrolling landscape and its platforms.
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <tuple>
#include <utility>

#include "audio/audio.h"
#include "game/banners.h"
#include "game/flow.h"
#include "game/grid.h"
#include "game/jumper.h"
#include "game/scenery.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

using Round = testing::GameFixture;

TEST(BossHits, FollowTheRoundAndTheBossLevel)
{
    const std::pair<std::uint32_t, std::int32_t> level10[] = {{1, 10}, {2, 10},  {3, 11}, {4, 11},
                                                              {5, 12}, {11, 15}, {21, 20}};
    for (auto [round, hits] : level10)
        EXPECT_EQ(BossHitsFor(round, 10), hits) << "round " << round;
    for (std::uint32_t round = 1; round <= 14; ++round)
        EXPECT_EQ(BossHitsFor(round, 3), round <= 7 ? 3 : 4) << "round " << round;
    EXPECT_EQ(BossHitsFor(5, 0), 0);
    // Round 0 wraps to 2^32 - 1; a product past 32 bits keeps its low 32.
    EXPECT_EQ(BossHitsFor(0, 1), 214748365);             // (429496729.5 + 2) / 2, truncated
    EXPECT_EQ(BossHitsFor(0, 4294967295u), -1288490240); // 922337207550948096 mod 2^32
}

TEST_F(Round, JumperLookBannerAndStatusLineDigitsThenTheHurryUpsSoundAndTimer)
{
    settings.values["Sound"] = "1";
    Start();
    for (auto [round, look] : {std::pair{1u, 0}, {10u, 0}, {11u, 2}, {20u, 2}, {21u, 0}, {31u, 2}, {0u, 2}}) {
        G().round = round;
        ResetRound(G());
        EXPECT_EQ(G().jumperLook, look) << "round " << round;
    }
    // The round-clear banner and the status line write at least their
    // digits, and all of them.
    G().round = 100;
    ShowRoundClear(G());
    Show();
    EXPECT_EQ(text.drawn.back(), "100 Round Clear");
    EXPECT_EQ(FormatStatusLine(1000, 0, 1), "HI-SCORE:001000      SCORE:000000      ROUND:01");
    EXPECT_EQ(FormatStatusLine(4294967295u, 1234567, 100), "HI-SCORE:4294967295      SCORE:1234567      ROUND:100");

    // What the recorded games do not show of the hurry-up: its sound and the
    // timer restarted at the faster period.
    G().optHarryLevel = 10;
    G().optDistance = 1000;
    G().optGameLevel = 100;
    StartGame(G());
    Show();
    Ticks(20 + 10);
    EXPECT_EQ(G().state, kHurryBannerWord);
    EXPECT_EQ(window.timerPeriod, 50);
    ASSERT_FALSE(wave.played.empty());
    EXPECT_EQ(wave.played.back().image, R().waveData[SoundHurry]);
}

// A round under way with a hand-made grid, floor everywhere and platforms
// under columns 13 to 15, the jumper placed anew at each step (platforms and
// bosses added stay): only the foot column holds it, even a platform that
// arrives under the foot while it moves on from row 18; at the top it turns
// at the ceiling, armed, and a stomp there takes it above the grid, where
// the cells read as empty (its next probe looks at row -2); a dive turns a
// rising jumper at row 16 or above, and arms the stomp unless it starts
// inside the boss.
TEST_F(Round, JumpersFootColumnCeilingAndDive)
{
    Play();
    FillCells(G(), 0, 0, G().gridCols, 24, CellEmpty);
    FillCells(G(), 0, 24, G().gridCols, 1, CellFloor);
    FillCells(G(), 13, 21, 3, 2, CellPlatform);
    const struct {
        std::int32_t platform, bossCol, bossHits; // added first, when not -1
        std::int32_t row, vy, armed;
        bool dive; // or a move
        std::int32_t wantRow, wantVy, wantArmed, wantHits;
    } steps[] = {
        {-1, -1, 0, 17, 1, 0, false, 18, 1, 0, 10}, {12, -1, 0, 18, 1, 0, false, 17, -1, 1, 10},
        {-1, -1, 0, 0, -1, 0, false, 1, 1, 1, 10},  {-1, 12, 9, 0, 1, 1, false, -1, -1, 0, 8},
        {-1, -1, 0, -1, -1, 0, false, 1, 1, 1, 8},  {-1, -1, 0, 17, -1, 0, true, 17, -1, 0, 8},
        {-1, -1, 0, 16, -1, 0, true, 16, 1, 1, 8},  {-1, -1, 0, 16, 1, 0, true, 16, 1, 0, 8},
        {-1, 10, 5, 6, -1, 0, true, 6, 1, 0, 5},
    };
    for (const auto& s : steps) {
        if (s.platform != -1)
            FillCells(G(), s.platform, 21, 1, 2, CellPlatform);
        if (s.bossCol != -1) {
            G().bossCol = s.bossCol;
            G().bossRow = 4;
            G().bossHits = s.bossHits;
            FillCells(G(), s.bossCol, 4, 8, 8, CellBoss);
        }
        G().jumperRow = s.row;
        G().jumperVy = s.vy;
        G().stompArmed = s.armed;
        if (s.dive)
            Dive(G());
        else
            MoveJumper(G());
        EXPECT_EQ(std::tuple(G().jumperRow, G().jumperVy, G().stompArmed, G().bossHits),
                  std::tuple(s.wantRow, s.wantVy, s.wantArmed, s.wantHits))
            << "step " << &s - steps;
    }
}

// Runs scroll steps and reports, for every new column, whether it carried a platform.
std::vector<bool> NewColumns(Game& r, int steps)
{
    std::vector<bool> platforms;
    for (int i = 0; i < steps; ++i) {
        const bool makesColumn = r.scrollX >= 32;
        ScrollStage(r);
        if (makesColumn)
            platforms.push_back(GridCell(r, 47, 21) == CellPlatform);
    }
    return platforms;
}

// Rate 0 forces a platform after every nine bare columns, a low rate never
// leaves more than nine, and 100 or more puts one on every column.
TEST_F(Round, SceneryPlatformRatesFromForcedOnlyToEveryColumn)
{
    Start();
    G().optGameLevel = 0;
    G().gapRun = 0;
    const std::vector<bool> platforms = NewColumns(G(), 4 * 60);
    ASSERT_EQ(platforms.size(), 60u);
    for (std::size_t i = 0; i < platforms.size(); ++i)
        EXPECT_EQ(platforms[i], i % 10 == 9) << "column " << i;
    G().optGameLevel = 5;
    int run = 0, longest = 0;
    for (bool platform : NewColumns(G(), 4 * 2000)) {
        run = platform ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    EXPECT_EQ(longest, 9);
    for (std::uint32_t level : {100u, 250u, 4294967295u}) {
        G().optGameLevel = level;
        for (bool platform : NewColumns(G(), 80))
            EXPECT_TRUE(platform) << level;
        EXPECT_EQ(G().gapRun, 0);
    }
}

TEST(Grid, ShiftMovesCellsLeftAndClearsTheRightEdge)
{
    Game r;
    r.stageWidth = 448;
    r.stageHeight = 264;
    AllocGrid(r);
    FillCells(r, 0, 0, 56, 33, 1);
    FillCells(r, 10, 5, 1, 1, 4);
    ShiftGrid(r, 1);
    for (int row = 0; row < 33; ++row)
        EXPECT_EQ(GridCell(r, 55, row), 0);
    // The marked cell one column left, what was right of it in its place; and
    // cells off the grid read as empty, above included.
    for (const auto& [x, y, cell] : {std::tuple{9, 5, 4}, {10, 5, 1}, {0, -1, 0}, {0, -2, 0}, {56, 0, 0}, {0, 33, 0}})
        EXPECT_EQ(GridCell(r, x, y), cell) << x << "," << y;
    EXPECT_EQ(FreeGrid(r), 1);
    EXPECT_EQ(FreeGrid(r), 0);
}

TEST(Art, OverTheSkyOnlyTheShapeChangesButTheCityWiresComeOutBlack)
{
    EmbeddedResources resources;
    Drawing record;
    LoadSprites(record, &resources);
    const Pixel aqua = PixelFromColorRef(kSkyColorRef);
    Surface sky{32, 32, aqua};
    DrawContext stage;
    stage.bitmap = &sky;
    for (std::size_t t = 0; t < 10; ++t) {
        for (SpritePair* pair : {&record.groundSprites[t], &record.platformSprites[t]}) {
            sky = Surface(32, 32, aqua);
            DrawSprite(stage, record.spriteDC, *pair, 0, 0, 32);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    if (pair->mask->At(x, y) == kBlack)
                        continue;
                    const bool wire = pair == &record.groundSprites[5] && pair->image->At(x, y) != kBlack;
                    ASSERT_EQ(sky.At(x, y), wire ? kBlack : aqua) << "theme " << t << " at " << x << "," << y;
                }
            // Theme 9's ground is nothing at all.
            if (pair == &record.groundSprites[9]) {
                EXPECT_EQ(sky.Pixels(), std::vector<Pixel>(32 * 32, aqua));
            }
        }
    }
}

} // namespace
} // namespace ruvo
