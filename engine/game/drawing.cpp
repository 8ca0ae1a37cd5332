// The drawing: the scenery columns, the clouds and the marks of a game's
// picture turned into the stage's and the frame's pixels.
// SPDX-License-Identifier: MIT
#include "game/drawing.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "game/title.h"
#include "game/wrapping.h"
#include "render/draw.h"
#include "render/icon.h"
#include "render/text.h"

namespace ruvo {
namespace {

constexpr std::int32_t kBossSize = 64;
constexpr std::int32_t kColumnWidth = 32;
constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kRed = 0x000000FF;
// A pause's banner drawn again on a fresh frame: enough times to look as it
// did after as many ticks, the letters' edges having long stopped changing.
constexpr std::uint32_t kMostRepeats = 64;

// The order in which the wipe uncovers the lines of each 8-pixel band: every
// other line first, so the boss breaks up evenly before it is gone.
constexpr std::array<std::int32_t, 8> kDissolveOrder{0, 2, 4, 6, 1, 3, 5, 7};

// The newest column's place on the stage, just right of the field.
std::int32_t NewestX(const Drawing& drawing)
{
    return drawing.fieldWidth;
}

void DrawColumn(Drawing& d, const SceneryColumn& column, std::int32_t x)
{
    if (column.made) {
        const std::size_t theme = column.theme % 10u;
        const std::int32_t y = d.fieldHeight - 32;
        FillSky(d.stageDC, d.skyBrush, x, 0, kColumnWidth, d.fieldHeight);
        if (column.platform)
            DrawSprite(d.stageDC, d.spriteDC, d.platformSprites[theme], x, y, 32);
        DrawSprite(d.stageDC, d.spriteDC, d.groundSprites[theme], x, y, 32);
    }
}

void DrawClouds(Drawing& d, const SceneryColumn& column, std::size_t from, std::int32_t x)
{
    for (std::size_t k = from; k < column.clouds; ++k)
        DrawSprite(d.stageDC, d.spriteDC, d.cloudSprite, x, column.cloudY[k], 32);
}

// The stage moves a column to the left, making room for the next.
void ShiftStage(Drawing& d)
{
    BlockTransfer(*d.stageBitmap, 0, 0, d.fieldWidth, d.fieldHeight, d.stageBitmap.get(), kColumnWidth, 0,
                  RasterOp::SrcCopy);
}

// Combines the whole boss square of one context into another; without a
// bitmap on either side there is nothing to combine.
void BlitSquare(DrawContext& dest, const DrawContext* source, RasterOp op)
{
    if (dest.bitmap == nullptr)
        return;
    BlockTransfer(*dest.bitmap, 0, 0, kBossSize, kBossSize, source != nullptr ? source->bitmap : nullptr, 0, 0, op);
}

// Fills bossWork with the theme's boss picture, red-dithered when tinted.
void ComposeBossPicture(Drawing& d, const BossLook& look)
{
    d.shown.look = look;
    SpritePair& work = d.bossWork;
    DrawContext workDC{};
    if (!look.set) {
        // No boss yet: the work pair as it was made.
        workDC.bitmap = work.image.get();
        BlitSquare(workDC, nullptr, RasterOp::PatCopy);
        workDC.bitmap = work.mask.get();
        BlitSquare(workDC, nullptr, RasterOp::PatCopy);
        return;
    }
    SpritePair& theme = d.bossSprites[look.theme % 10u];
    DrawContext& spriteDC = d.spriteDC;
    // Each copy names its source afresh, so it does not matter which bitmap
    // the last drawing routine left in spriteDC (often bossWork's own image).
    workDC.bitmap = work.image.get();
    spriteDC.bitmap = theme.image.get();
    BlitSquare(workDC, &spriteDC, RasterOp::SrcCopy);
    workDC.bitmap = work.mask.get();
    spriteDC.bitmap = theme.mask.get();
    BlitSquare(workDC, &spriteDC, RasterOp::SrcCopy);
    workDC.bitmap = nullptr;
    // Without the tint's art the boss keeps its plain look.
    if (!look.tinted || !d.bossTintSprite.image || !d.bossTintSprite.mask)
        return;

    // The tint is cut to the boss's figure on copies, so the shared tint
    // pair stays as loaded.
    Surface tint(kBossSize, kBossSize);
    Surface tintMask(kBossSize, kBossSize);
    workDC.bitmap = &tint;
    spriteDC.bitmap = d.bossTintSprite.image.get();
    BlitSquare(workDC, &spriteDC, RasterOp::SrcCopy);
    workDC.bitmap = &tintMask;
    spriteDC.bitmap = d.bossTintSprite.mask.get();
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
}

void WriteBanner(Drawing& d, std::string_view text, std::uint32_t colorRef)
{
    SelectFont(d.frameDC, d.textFont);
    SetTextColor(d.frameDC, colorRef);
    WriteCentred(d.text, d.frameDC, kCentreDown, text);
}

void DrawBanner(Drawing& d, const Mark& mark)
{
    switch (static_cast<BannerText>(mark.a)) {
    case BannerText::Start:
        WriteBanner(d, "START", kBlue);
        break;
    case BannerText::RoundClear: {
        char text[64];
        std::snprintf(text, sizeof text, "%02u Round Clear", mark.d);
        WriteBanner(d, text, kBlue);
        break;
    }
    case BannerText::GameOver:
        WriteBanner(d, "GAME OVER", kRed);
        break;
    case BannerText::HurryUp:
        WriteBanner(d, "HARRY UP", kRed);
        break;
    case BannerText::Pause:
        WriteBanner(d, "PAUSE", kRed);
        break;
    }
}

void DrawStatus(Drawing& d, const Mark& mark)
{
    DrawContext& dc = d.frameDC;
    SelectFont(dc, d.textFont);
    SetTextColor(dc, 0x00FF0000);
    const TextExtent extent = WriteCentred(d.text, dc, 0, FormatStatusLine(mark.b, mark.c, mark.d));
    for (std::int32_t i = 0; i < mark.x; ++i) {
        const std::int64_t x = 16 + 16 * static_cast<std::int64_t>(i);
        if (x >= d.fieldWidth)
            break; // the rest would be clipped away anyway
        DrawIcon(dc, d.smallIcon, static_cast<std::int32_t>(x), extent.cy + 2, 16);
    }
}

void DrawTitleLetters(Drawing& d)
{
    DrawContext& dc = d.frameDC;
    SelectFont(dc, d.logoFont);
    SetTextColor(dc, 0x0000FFFF);
    WriteCentred(d.text, dc, kCentreDown, kLogoText);
    SelectFont(dc, d.textFont);
    SetTextColor(dc, 0x00808080);
    WriteCentred(d.text, dc, d.fieldHeight - 48, kCreditText);
}

// One step of the lattice wipe: the frame shows stage column x + offset at
// field column x, so lines of the boss's square are copied from there.
void DrawWipe(Drawing& d, const Mark& mark)
{
    Surface& frame = *d.frameBitmap;
    const Surface* stage = d.stageBitmap.get();
    const auto offset = static_cast<std::int32_t>(mark.b);
    const std::int32_t o = kDissolveOrder[mark.a % 8u];
    for (std::int32_t i = 0; i < 8; ++i) {
        const std::int32_t x = WrapAdd(mark.x, 8 * i + o);
        const std::int32_t y = WrapAdd(mark.y, 8 * i + o);
        BlockTransfer(frame, x, mark.y, 1, kBossSize, stage, WrapAdd(x, offset), mark.y, RasterOp::SrcCopy);
        BlockTransfer(frame, mark.x, y, kBossSize, 1, stage, WrapAdd(mark.x, offset), y, RasterOp::SrcCopy);
    }
}

void DrawMark(Drawing& d, const Mark& mark)
{
    switch (mark.kind) {
    case MarkKind::Sun:
        DrawSprite(d.frameDC, d.spriteDC, d.sunSprites[mark.a % 3u], 320, 16, 32);
        break;
    case MarkKind::Jumper:
        DrawSprite(d.frameDC, d.spriteDC, d.jumperSprites[mark.a % 4u], mark.x, mark.y, 32);
        break;
    case MarkKind::Boss:
        DrawSprite(d.frameDC, d.spriteDC, d.bossWork, mark.x, mark.y, kBossSize);
        break;
    case MarkKind::Silhouette:
        DrawSilhouette(d.frameDC, d.spriteDC, d.bossWork, mark.x, mark.y, kBossSize);
        break;
    case MarkKind::BossLook:
        ComposeBossPicture(d, {true, mark.a, mark.b != 0});
        break;
    case MarkKind::Status:
        DrawStatus(d, mark);
        break;
    case MarkKind::Title:
        DrawTitleLetters(d);
        break;
    case MarkKind::Banner:
        DrawBanner(d, mark);
        break;
    case MarkKind::Stamp:
        DrawSprite(d.stageDC, d.spriteDC, d.jumperSprites[mark.a % 4u], mark.x, mark.y, 32);
        break;
    case MarkKind::Wipe:
        DrawWipe(d, mark);
        break;
    }
}

// The frame from the stage at the last offset, the boss's picture as it
// was then, and every mark since, from the first.
void DrawFrameWhole(Drawing& d, const Picture& picture)
{
    ComposeBossPicture(d, picture.lookAtCompose);
    ComposeFrame(d.frameDC, d.stageDC, picture.composeX, 0);
    for (const Mark& mark : picture.marks)
        for (std::uint32_t r = 0; r < std::min(mark.repeat, kMostRepeats); ++r)
            DrawMark(d, mark);
}

void DrawWhole(Drawing& d, const Game& game)
{
    const Picture& picture = game.picture;
    // The stage as it was made: black, then the columns that show, each at
    // its place, with the clouds it took.
    BlockTransfer(*d.stageBitmap, 0, 0, d.stageBitmap->Width(), d.stageBitmap->Height(), nullptr, 0, 0,
                  RasterOp::PatCopy, kBlack);
    for (std::size_t i = 0; i < kStageColumns; ++i) {
        if (const SceneryColumn* column = ColumnAt(picture, i)) {
            const std::int32_t x = NewestX(d) - kColumnWidth * static_cast<std::int32_t>(kStageColumns - 1 - i);
            DrawColumn(d, *column, x);
            DrawClouds(d, *column, 0, x);
        }
    }
    DrawFrameWhole(d, picture);
}

void Remember(Drawing& d, const Game& game)
{
    const Picture& picture = game.picture;
    d.shown.game = &game;
    d.shown.columnsMade = picture.columnsMade;
    d.shown.clouds = picture.columns[ColumnSlot(picture.columnsMade)].clouds;
    d.shown.composes = picture.composes;
    d.shown.marks = picture.marks.size();
    d.shown.repeat = picture.marks.empty() ? 0 : picture.marks.back().repeat;
}

} // namespace

void DrawGame(Drawing& d, const Game& game)
{
    if (!d.frameBitmap || !d.stageBitmap)
        return;
    const Picture& picture = game.picture;
    Drawing::Shown& shown = d.shown;
    const bool follows = shown.game == &game && picture.columnsMade >= shown.columnsMade &&
                         picture.columnsMade - shown.columnsMade < kStageColumns &&
                         picture.composes >= shown.composes &&
                         (picture.composes != shown.composes || picture.marks.size() >= shown.marks);
    if (!follows) {
        DrawWhole(d, game);
        Remember(d, game);
        return;
    }
    // The stage: the clouds the newest column shown has taken since, then
    // the columns that came after it, each with its clouds.
    const SceneryColumn& newest = picture.columns[ColumnSlot(shown.columnsMade)];
    DrawClouds(d, newest, shown.clouds, NewestX(d));
    for (std::uint64_t made = shown.columnsMade + 1; made <= picture.columnsMade; ++made) {
        const SceneryColumn& column = picture.columns[ColumnSlot(made)];
        ShiftStage(d);
        DrawColumn(d, column, NewestX(d));
        DrawClouds(d, column, 0, NewestX(d));
    }
    // The frame: composed anew when the stage was copied since, with every
    // mark after it; else the marks that came since, and the repeats of the
    // last one drawn.
    if (picture.composes != shown.composes) {
        if (!(shown.look == picture.lookAtCompose))
            ComposeBossPicture(d, picture.lookAtCompose);
        ComposeFrame(d.frameDC, d.stageDC, picture.composeX, 0);
        for (const Mark& mark : picture.marks)
            for (std::uint32_t r = 0; r < mark.repeat; ++r)
                DrawMark(d, mark);
    } else {
        if (shown.marks > 0)
            for (std::uint32_t r = shown.repeat; r < picture.marks[shown.marks - 1].repeat; ++r)
                DrawMark(d, picture.marks[shown.marks - 1]);
        for (std::size_t i = shown.marks; i < picture.marks.size(); ++i)
            for (std::uint32_t r = 0; r < picture.marks[i].repeat; ++r)
                DrawMark(d, picture.marks[i]);
    }
    Remember(d, game);
}

void ForgetDrawn(Drawing& drawing)
{
    drawing.shown.game = nullptr;
}

void DrawGhost(Drawing& d, const Game& ghost)
{
    const Mark* jumper = nullptr;
    for (const Mark& mark : ghost.picture.marks)
        if (mark.kind == MarkKind::Jumper)
            jumper = &mark;
    if (jumper == nullptr || !d.frameBitmap) {
        HideGhost(d);
        return;
    }
    const SpritePair& sprite = d.jumperSprites[jumper->a % 4u];
    const Surface& frame = *d.frameBitmap;
    Surface& patch = d.ghostPatch;
    // The frame's pixels under the ghost, and every other pixel of its figure over them.
    BlockTransfer(patch, 0, 0, patch.Width(), patch.Height(), &frame, jumper->x, jumper->y, RasterOp::SrcCopy);
    if (sprite.image && sprite.mask)
        for (std::int32_t j = 0; j < patch.Height(); ++j) {
            Pixel* row = patch.Row(j);
            const Pixel* image = sprite.image->Row(j);
            const Pixel* mask = sprite.mask->Row(j);
            for (std::int32_t i = (jumper->x + jumper->y + j) & 1; i < patch.Width(); i += 2)
                if ((mask[i] & kColourBits) == kBlack)
                    row[i] = image[i];
        }
    if (!d.shownBitmap)
        d.shownBitmap = std::make_unique<Surface>(frame.Width(), frame.Height());
    BlockTransfer(*d.shownBitmap, jumper->x, jumper->y, patch.Width(), patch.Height(), &patch, 0, 0, RasterOp::SrcCopy);
    d.ghostArea = {jumper->x, jumper->y, patch.Width(), patch.Height()};
    d.ghostShown = true;
    d.shownWhole = false;
}

void HideGhost(Drawing& drawing)
{
    drawing.ghostShown = false;
}

const Surface* ShownFrame(Drawing& d)
{
    if (!d.ghostShown || !d.shownBitmap || !d.frameBitmap)
        return d.frameBitmap.get();
    if (!d.shownWhole) {
        *d.shownBitmap = *d.frameBitmap;
        BlockTransfer(*d.shownBitmap, d.ghostArea.x, d.ghostArea.y, d.ghostArea.width, d.ghostArea.height,
                      &d.ghostPatch, 0, 0, RasterOp::SrcCopy);
        d.shownWhole = true;
    }
    return d.shownBitmap.get();
}

void PaintShown(const Drawing& d, PaintTarget& paint)
{
    if (!d.frameBitmap)
        return;
    const Rect invalid = paint.InvalidRect();
    paint.CopyFrom(*d.frameBitmap, invalid);
    if (!d.ghostShown || !d.shownBitmap)
        return;
    // The ghost's square, where it meets the part repainted.
    const Rect& g = d.ghostArea;
    const std::int32_t x0 = std::max({g.x, invalid.x, 0}), y0 = std::max({g.y, invalid.y, 0});
    const std::int32_t x1 = std::min({g.x + g.width, invalid.x + invalid.width, d.frameBitmap->Width()});
    const std::int32_t y1 = std::min({g.y + g.height, invalid.y + invalid.height, d.frameBitmap->Height()});
    if (x0 < x1 && y0 < y1)
        paint.CopyFrom(*d.shownBitmap, {x0, y0, x1 - x0, y1 - y0});
}

} // namespace ruvo
