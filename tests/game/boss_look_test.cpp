#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "audio/audio.h"
#include "game/boss.h"
#include "game/flow.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

constexpr Pixel kRed = 0xFF0000;

bool SamePixels(const Surface& a, const Surface& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() && a.Pixels() == b.Pixels();
}

// Checks bossWork against the theme's pair under the red dither: red on the
// figure at every even row and column, the picture elsewhere on the figure,
// black around it, and the mask as drawn.
void ExpectTintedLook(const GameRecord& r, std::uint32_t theme)
{
    const SpritePair& plain = r.bossSprites[theme];
    ASSERT_TRUE(SamePixels(*r.bossWork.mask, *plain.mask));
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
}

class BossLook : public testing::GameFixture {
  protected:
    void SetUp() override { Start(); }
};

TEST_F(BossLook, TintDithersTheFigureWhateverTheSpriteContextHolds)
{
    GameRecord& r = R();
    const Surface tintImage = *r.bossTintSprite.image;
    const Surface tintMask = *r.bossTintSprite.mask;
    for (std::uint32_t round = 1; round <= 10; ++round) {
        const std::uint32_t theme = RoundTheme(round);
        const std::array<Surface*, 4> leftInSpriteDC{nullptr, r.bossWork.image.get(), r.bossWork.mask.get(),
                                                     r.bossSprites[theme].image.get()};
        for (Surface* held : leftInSpriteDC) {
            r.round = round;
            // A stale look in bossWork must not show through.
            BlockTransfer(*r.bossWork.image, 0, 0, 64, 64, nullptr, 0, 0, RasterOp::PatCopy, kWhite);
            r.spriteDC.bitmap = held;
            ComposeBossSprite(r, 1);
            ExpectTintedLook(r, theme);
            // The context keeps a bitmap that outlives the call.
            EXPECT_EQ(r.spriteDC.bitmap, r.bossWork.image.get());
            // and the next round's boss is plain again.
            r.round = round % 10 + 1;
            ComposeBossSprite(r, 0);
            EXPECT_TRUE(SamePixels(*r.bossWork.image, *r.bossSprites[RoundTheme(r.round)].image));
        }
    }
    EXPECT_TRUE(SamePixels(*r.bossTintSprite.image, tintImage));
    EXPECT_TRUE(SamePixels(*r.bossTintSprite.mask, tintMask));
}

// A round under way with the boss one step right of the falling jumper's
// column, so that the coming tick's move brings it under the jumper's
// right-hand corner: a stomp.
class Stomp : public testing::GameFixture {
  protected:
    void SetUp() override
    {
        Play();
        ASSERT_EQ(R().state, StatePlay);
    }
    void RigStomp(std::int32_t bossHits)
    {
        GameRecord& r = R();
        r.bossActive = 1;
        r.bossHits = bossHits;
        r.bossCol = 14;
        r.bossDx = -1;
        r.bossRow = 4;
        r.bossDy = 0;
        r.jumperRow = 10;
        r.jumperVy = 1;
        r.stompArmed = 1;
    }
};

TEST_F(Stomp, BossArrivingWithNoHitsLeftIsNeverBeaten)
{
    RigStomp(0);
    Ticks(1);
    EXPECT_EQ(R().bossHits, -1);
    EXPECT_EQ(R().state, StatePlay);
}

// The defeat wipe, set up as the last stomp leaves it: the frame on show is
// marked so that each uncovered line can be told from the rest.
class Wipe : public testing::GameFixture {
  protected:
    static constexpr Pixel kMarker = 0x123456;
    static constexpr std::array<std::int32_t, 8> kOrder{0, 2, 4, 6, 1, 3, 5, 7};

    void StartPlaying(std::uint32_t round = 1)
    {
        Start();
        R().optRound = round;
        StartGame();
        Ticks(20);
    }
    void RigWipe(std::int32_t bossCol, std::int32_t bossRow)
    {
        GameRecord& r = R();
        r.bossActive = 1;
        r.bossHits = 0;
        r.bossCol = bossCol;
        r.bossRow = bossRow;
        r.scrollX = 16;
        r.bannerTicks = 0;
        r.state = StateDissolve;
        BlockTransfer(*r.frameBitmap, 0, 0, r.fieldWidth, r.fieldHeight, nullptr, 0, 0, RasterOp::PatCopy, kMarker);
    }
    // A stage whose every pixel differs, so that a line copied from the wrong
    // place shows. No value equals the marker.
    void PatternTheStage()
    {
        Surface& stage = *R().stageBitmap;
        for (std::int32_t y = 0; y < stage.Height(); ++y)
            for (std::int32_t x = 0; x < stage.Width(); ++x)
                stage.Set(x, y, static_cast<Pixel>((x << 9) | y));
    }
    // After `steps` wipe steps the lines at the first `steps` offsets of each
    // 8-pixel band show the stage; the rest of the square and of the frame
    // is untouched.
    void ExpectLattice(int steps, bool wholeField)
    {
        const GameRecord& r = R();
        const std::int32_t x0 = 8 * r.bossCol, y0 = 8 * r.bossRow;
        const auto uncovered = [&](std::int32_t offset) {
            return std::find(kOrder.begin(), kOrder.begin() + steps, offset % 8) != kOrder.begin() + steps;
        };
        for (std::int32_t y = 0; y < r.fieldHeight; ++y)
            for (std::int32_t x = 0; x < r.fieldWidth; ++x) {
                const bool inSquare = x >= x0 && x < x0 + 64 && y >= y0 && y < y0 + 64;
                if (!inSquare && !wholeField)
                    continue;
                const bool shows = inSquare && (uncovered(x - x0) || uncovered(y - y0));
                const Pixel want = shows ? r.stageBitmap->At(x + r.scrollX, y) : kMarker;
                ASSERT_EQ(r.frameBitmap->At(x, y), want) << "step " << steps << " at " << x << "," << y;
            }
    }
};

TEST_F(Wipe, UncoversALatticeThatClosesInEightStepsClippedAtTheFieldsRightEdge)
{
    StartPlaying();
    PatternTheStage();
    for (auto [col, row] : {std::pair{2, 4}, std::pair{45, 6}}) {
        RigWipe(col, row);
        for (int step = 1; step <= 8; ++step) {
            Ticks(1);
            // The banner of the last step lies beside the square.
            ExpectLattice(step, step < 8 && col == 2);
        }
    }
}

TEST_F(Wipe, StepCounterOutsideTheWipeUncoversNothing)
{
    StartPlaying();
    for (std::int32_t step : {-1, 8, 1000}) {
        RigWipe(20, 5);
        R().bannerTicks = step;
        const Surface before = *R().frameBitmap;
        DissolveBoss(R());
        EXPECT_TRUE(SamePixels(*R().frameBitmap, before)) << step;
        EXPECT_EQ(R().bannerTicks, step + 1);
    }
}

} // namespace
} // namespace ruvo
