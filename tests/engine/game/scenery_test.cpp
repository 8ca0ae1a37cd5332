// Tests of the scrolling landscape and its platforms.
// SPDX-License-Identifier: MIT
#include "game/grid.h"
#include "game/scenery.h"
#include "support/game_fixture.h"

#include <algorithm>

namespace ruvo {
namespace {

using Scenery = testing::GameFixture;

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
TEST_F(Scenery, PlatformRatesFromForcedOnlyToEveryColumn)
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
    EXPECT_EQ(GridCell(r, 9, 5), 4);
    EXPECT_EQ(GridCell(r, 10, 5), 1);
    for (int row = 0; row < 33; ++row)
        EXPECT_EQ(GridCell(r, 55, row), 0);
    // Cells off the grid read as empty, above included.
    for (const auto& [col, row] : {std::pair{0, -1}, {0, -2}, {56, 0}, {0, 33}})
        EXPECT_EQ(GridCell(r, col, row), 0) << col << "," << row;
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
        }
    }
    // Theme 9's ground is nothing at all.
    sky = Surface(32, 32, aqua);
    DrawSprite(stage, record.spriteDC, record.groundSprites[9], 0, 0, 32);
    EXPECT_EQ(sky.Pixels(), std::vector<Pixel>(32 * 32, aqua));
}

} // namespace
} // namespace ruvo
