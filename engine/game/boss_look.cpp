// The boss's look, plain or red-dithered when it is nearly beaten, and the
// lattice wipe that uncovers the scenery behind a beaten boss.
// SPDX-License-Identifier: MIT
#include <array>

#include "audio/audio.h"
#include "game/banners.h"
#include "game/boss.h"
#include "game/grid.h"
#include "game/window.h"
#include "game/wrapping.h"
#include "render/draw.h"

namespace ruvo {
namespace {

constexpr std::int32_t kBossSize = 64;

// The order in which the wipe uncovers the lines of each 8-pixel band: every
// other line first, so the boss breaks up evenly before it is gone.
constexpr std::array<std::int32_t, 8> kDissolveOrder{0, 2, 4, 6, 1, 3, 5, 7};

// Combines the whole boss square of one context into another; without a
// bitmap on either side there is nothing to combine.
void BlitSquare(DrawContext& dest, const DrawContext* source, RasterOp op)
{
    if (dest.bitmap == nullptr)
        return;
    BlockTransfer(*dest.bitmap, 0, 0, kBossSize, kBossSize, source != nullptr ? source->bitmap : nullptr, 0, 0, op);
}

} // namespace

int ComposeBossSprite(GameRecord& record, std::int32_t tinted)
{
    SpritePair& theme = record.bossSprites[RoundTheme(record.round)];
    SpritePair& work = record.bossWork;
    DrawContext& spriteDC = record.spriteDC;
    // Each copy names its source afresh, so it does not matter which bitmap
    // the last drawing routine left in spriteDC (often bossWork's own image).
    DrawContext workDC{};

    workDC.bitmap = work.image.get();
    spriteDC.bitmap = theme.image.get();
    BlitSquare(workDC, &spriteDC, RasterOp::SrcCopy);
    workDC.bitmap = work.mask.get();
    spriteDC.bitmap = theme.mask.get();
    BlitSquare(workDC, &spriteDC, RasterOp::SrcCopy);
    workDC.bitmap = nullptr;
    // Without the tint's art the boss keeps its plain look.
    if (tinted == 0 || !record.bossTintSprite.image || !record.bossTintSprite.mask)
        return 1;

    // The tint is cut to the boss's figure on copies, so the shared tint
    // pair stays as loaded.
    Surface tint(kBossSize, kBossSize);
    Surface tintMask(kBossSize, kBossSize);
    workDC.bitmap = &tint;
    spriteDC.bitmap = record.bossTintSprite.image.get();
    BlitSquare(workDC, &spriteDC, RasterOp::SrcCopy);
    workDC.bitmap = &tintMask;
    spriteDC.bitmap = record.bossTintSprite.mask.get();
    BlitSquare(workDC, &spriteDC, RasterOp::SrcCopy);

    // Inverted, the boss's mask is white over the figure and black around
    // it: ANDed onto the copies it clears them outside the figure.
    spriteDC.bitmap = work.mask.get();
    BlitSquare(spriteDC, nullptr, RasterOp::DstInvert);
    workDC.bitmap = &tint;
    BlitSquare(workDC, &spriteDC, RasterOp::SrcAnd);
    workDC.bitmap = &tintMask;
    BlitSquare(workDC, &spriteDC, RasterOp::SrcAnd);
    BlitSquare(spriteDC, nullptr, RasterOp::DstInvert);

    // The masked drawing rule, applied inside the figure only.
    spriteDC.bitmap = work.image.get();
    BlitSquare(spriteDC, &workDC, RasterOp::SrcAnd);
    workDC.bitmap = &tint;
    BlitSquare(spriteDC, &workDC, RasterOp::SrcInvert);
    workDC.bitmap = nullptr;
    return 1;
}

int DissolveBoss(GameRecord& record)
{
    // Drawn into the stage, the jumper is uncovered with the scenery and
    // stays visible where it overlaps the boss.
    SpritePair& jumper = record.jumperSprites[static_cast<std::size_t>(record.jumperLook & 3)];
    DrawSprite(record.stageDC, record.spriteDC, jumper, WrapAdd(record.scrollX, PixelOf(record.jumperCol)),
               PixelOf(record.jumperRow), 32);

    const std::int32_t x0 = PixelOf(record.bossCol);
    const std::int32_t y0 = PixelOf(record.bossRow);
    if (record.soundOn != 0)
        PlaySoundEffect(record, SoundDissolve);

    // The step counter is always 0 to 7 here; any other value uncovers nothing.
    const bool knownStep = record.bannerTicks >= 0 && record.bannerTicks < 8;
    if (knownStep && record.frameDC.bitmap != nullptr && record.stageDC.bitmap != nullptr) {
        Surface& frame = *record.frameDC.bitmap;
        const Surface* stage = record.stageDC.bitmap;
        const std::int32_t o = kDissolveOrder[static_cast<std::size_t>(record.bannerTicks)];
        for (std::int32_t i = 0; i < 8; ++i) {
            const std::int32_t x = WrapAdd(x0, 8 * i + o);
            const std::int32_t y = WrapAdd(y0, 8 * i + o);
            // The frame shows stage column x + scrollX at field column x.
            BlockTransfer(frame, x, y0, 1, kBossSize, stage, WrapAdd(x, record.scrollX), y0, RasterOp::SrcCopy);
            BlockTransfer(frame, x0, y, kBossSize, 1, stage, WrapAdd(x0, record.scrollX), y, RasterOp::SrcCopy);
        }
    }

    record.bannerTicks = WrapAdd(record.bannerTicks, 1);
    if (record.bannerTicks == 8)
        ShowRoundClear(record);
    InvalidateWindow(record);
    return 1;
}

} // namespace ruvo
