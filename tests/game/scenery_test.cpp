#include "game/grid.h"
#include "game/scenery.h"
#include "support/game_fixture.h"

#include <algorithm>

namespace ruvo {
namespace {

using Scenery = testing::GameFixture;

// Runs scroll steps and reports, for every new column, whether it carried a platform.
std::vector<bool> NewColumns(GameRecord& r, int steps)
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

TEST_F(Scenery, RateZeroGivesEveryTenthColumnAPlatform)
{
    Start();
    R().optGameLevel = 0;
    R().gapRun = 0;
    const std::vector<bool> platforms = NewColumns(R(), 4 * 60);
    ASSERT_EQ(platforms.size(), 60u);
    for (std::size_t i = 0; i < platforms.size(); ++i)
        EXPECT_EQ(platforms[i], i % 10 == 9) << "column " << i;
}

TEST_F(Scenery, RateHundredOrMoreGivesEveryColumnAPlatform)
{
    Start();
    for (std::uint32_t level : {100u, 250u, 4294967295u}) {
        R().optGameLevel = level;
        for (bool platform : NewColumns(R(), 80))
            EXPECT_TRUE(platform);
        EXPECT_EQ(R().gapRun, 0);
    }
}

TEST_F(Scenery, NeverMoreThanNineColumnsWithoutAPlatform)
{
    Start();
    R().optGameLevel = 5;
    int run = 0, longest = 0;
    for (bool platform : NewColumns(R(), 4 * 2000)) {
        run = platform ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    EXPECT_EQ(longest, 9);
}

// A column is four cells wide: platform in rows 21 and 22, nothing in 23,
// floor in 24. A column made on this step is drawn at stage x 384; the frame
// shows it from scrollX 0, so field x 384..415, while its cells are 47..50.
TEST_F(Scenery, ColumnCellsLieOneCellLeftOfTheirPicture)
{
    Start();
    R().optGameLevel = 100;
    while (R().scrollX < 32)
        ScrollStage(R());
    ScrollStage(R());
    for (int c = 47; c <= 50; ++c) {
        EXPECT_EQ(GridCell(R(), c, 21), CellPlatform);
        EXPECT_EQ(GridCell(R(), c, 22), CellPlatform);
        EXPECT_EQ(GridCell(R(), c, 23), CellEmpty);
        EXPECT_EQ(GridCell(R(), c, 24), CellFloor);
    }
    EXPECT_EQ(GridCell(R(), 51, 21), CellEmpty);
    // An opaque pixel of the platform picture's top row shows on the stage
    // right of the field.
    const Surface& platform = *R().platformSprites[0].mask;
    int opaqueX = 0;
    while (opaqueX < 31 && platform.At(opaqueX, 0) != kBlack)
        ++opaqueX;
    ASSERT_EQ(platform.At(opaqueX, 0), kBlack);
    EXPECT_NE(R().stageBitmap->At(384 + opaqueX, 168), PixelFromColorRef(0x00FFFF00));
    // Eight steps later the picture has moved 32 pixels in the frame, and the cells four columns.
    for (int i = 0; i < 4; ++i)
        ScrollStage(R());
    EXPECT_EQ(GridCell(R(), 43, 21), CellPlatform);
}

TEST_F(Scenery, PrefillMakesThirteenColumnsTheFirstSevenWithPlatforms)
{
    Start();
    R().optGameLevel = 0;
    R().gapRun = 0;
    PrefillStage(R());
    EXPECT_EQ(R().scrollX, 8);
    EXPECT_EQ(R().optGameLevel, 0u);
    // The seven forced columns end in grid columns 0 to 26.
    for (int c = 0; c <= 26; ++c)
        EXPECT_EQ(GridCell(R(), c, 21), CellPlatform) << c;
    // The other six follow the rate of 0: none carries a platform.
    for (int c = 27; c <= 50; ++c)
        EXPECT_EQ(GridCell(R(), c, 21), CellEmpty) << c;
    EXPECT_EQ(R().gapRun, 6);
    for (int c = 0; c <= 50; ++c)
        EXPECT_EQ(GridCell(R(), c, 24), CellFloor) << c;
    for (int c = 51; c < 56; ++c)
        EXPECT_EQ(GridCell(R(), c, 24), CellEmpty) << c;
}

TEST_F(Scenery, TheSunKeepsCountingAcrossTitleAndRounds)
{
    Start();
    const std::int32_t before = SunFrame();
    AnimateSun(R());
    EXPECT_EQ(SunFrame(), (before + 1) % 3);
    StartGame(); // StartRound animates the sun once more
    EXPECT_EQ(SunFrame(), (before + 2) % 3);
}

TEST(Grid, ShiftMovesCellsLeftAndClearsTheRightEdge)
{
    GameRecord r;
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
    EXPECT_EQ(GridCell(r, 0, -1), 0);
    EXPECT_EQ(GridCell(r, 0, -2), 0);
    EXPECT_EQ(GridCell(r, 56, 0), 0);
    EXPECT_EQ(GridCell(r, 0, 33), 0);
    EXPECT_EQ(FreeGrid(r), 1);
    EXPECT_EQ(FreeGrid(r), 0);
}

TEST(Art, OverTheSkyOnlyTheShapeChangesButTheCityWiresComeOutBlack)
{
    EmbeddedResources resources;
    GameRecord record;
    record.hInstance = &resources;
    LoadGraphics(record);
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
