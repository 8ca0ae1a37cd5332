// Tests of how the boss looks: its pictures, dither and hits.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>

#include "game/boss.h"
#include "game/flow.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

constexpr Pixel kRed = 0xFF0000;

// Checks bossWork against the theme's pair under the red dither: red on the
// figure at every even row and column, the picture elsewhere on the figure,
// black around it, and the mask as drawn.
void ExpectTintedLook(const Drawing& r, std::uint32_t theme)
{
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
}

using BossLook = testing::GameFixture;

TEST_F(BossLook, TintDithersTheFigureWhateverTheSpriteContextHolds)
{
    Start();
    Drawing& r = R().drawing;
    const Surface tintImage = *r.bossTintSprite.image;
    const Surface tintMask = *r.bossTintSprite.mask;
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
            ExpectTintedLook(r, theme);
            // The context keeps a bitmap that outlives the call.
            EXPECT_EQ(r.spriteDC.bitmap, r.bossWork.image.get());
            // and the next round's boss is plain again.
            G().round = round % 10 + 1;
            ComposeBossSprite(G(), 0);
            DrawGame(r, G());
            EXPECT_TRUE(r.bossWork.image->Pixels() == r.bossSprites[RoundTheme(G().round)].image->Pixels());
        }
    }
    EXPECT_TRUE(r.bossTintSprite.image->Pixels() == tintImage.Pixels());
    EXPECT_TRUE(r.bossTintSprite.mask->Pixels() == tintMask.Pixels());
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

} // namespace
} // namespace ruvo
