// Tests of the surfaces, raster operations, sprites and bitmaps.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <utility>

#include "render/bitmap.h"
#include "render/draw.h"
#include "render/sprite.h"
#include "render/surface.h"
#include "resources/embedded.h"

namespace ruvo {
namespace {

TEST(BlockTransfer, TheSixOperationsWorkBitForBit)
{
    const Pixel d = 0x00F0CC55, s = 0x003C0FA0, brush = 0x0000FFFF;
    const std::pair<RasterOp, Pixel> cases[] = {{RasterOp::SrcCopy, s},
                                                {RasterOp::SrcAnd, d & s},
                                                {RasterOp::SrcInvert, d ^ s},
                                                {RasterOp::SrcPaint, d | s},
                                                {RasterOp::DstInvert, ~d & 0xFFFFFF},
                                                {RasterOp::PatCopy, brush}};
    for (auto [op, expected] : cases) {
        Surface dest(3, 2, d);
        const Surface source(3, 2, s);
        BlockTransfer(dest, 0, 0, 3, 2, &source, 0, 0, op, brush);
        EXPECT_EQ(dest.Pixels(), std::vector<Pixel>(6, expected)) << static_cast<int>(op);
    }
    // White is all colour bits: inverting it gives black and back.
    Surface white(1, 1, kWhite);
    BlockTransfer(white, 0, 0, 1, 1, nullptr, 0, 0, RasterOp::DstInvert);
    EXPECT_EQ(white.At(0, 0), kBlack);
}

// A source whose pixels name their own position.
Surface Numbered(int w, int h)
{
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.Set(x, y, static_cast<Pixel>(y * 100 + x + 1));
    return s;
}

// Blocks off each edge of the destination, then of the source, and whole
// surfaces shifted over themselves: each pixel is its source's where both lie
// within their surfaces (an overlapping source read whole first), and keeps
// its value elsewhere.
TEST(BlockTransfer, ClipsToBothSurfacesAndReadsAnOverlappingSourceFirst)
{
    const Surface numbered = Numbered(4, 4);
    const struct {
        int dx, dy, sx, sy;
        bool self;
    } cases[] = {{-2, 0, 0, 0, false}, {6, 0, 0, 0, false}, {0, -3, 0, 0, false}, {0, 5, 0, 0, false},
                 {0, 0, -2, 0, false}, {0, 0, 2, 0, false}, {0, 0, 0, -1, false}, {0, 0, 0, 3, false},
                 {0, 0, 3, 0, true},   {0, 0, -3, 0, true}, {0, 0, 0, 2, true},   {0, 0, 0, -2, true},
                 {0, 0, 2, 1, true}};
    for (const auto& c : cases) {
        Surface dest = c.self ? Numbered(10, 6) : Surface(8, 8, 0xABCDEF);
        const Surface before = dest;
        const Surface& source = c.self ? before : numbered;
        BlockTransfer(dest, c.dx, c.dy, source.Width(), source.Height(), c.self ? &dest : &numbered, c.sx, c.sy,
                      RasterOp::SrcCopy);
        for (int y = 0; y < dest.Height(); ++y)
            for (int x = 0; x < dest.Width(); ++x) {
                const int srcX = x - c.dx + c.sx, srcY = y - c.dy + c.sy;
                const bool inBlock = x >= c.dx && x < c.dx + source.Width() && y >= c.dy && y < c.dy + source.Height();
                const bool inSource = srcX >= 0 && srcX < source.Width() && srcY >= 0 && srcY < source.Height();
                ASSERT_EQ(dest.At(x, y), inBlock && inSource ? source.At(srcX, srcY) : before.At(x, y))
                    << "case " << c.dx << "," << c.dy << "," << c.sx << "," << c.sy << " at " << x << "," << y;
            }
    }
    // Also with an operation that combines, within one surface.
    Surface again = Numbered(10, 6);
    const Surface before = again;
    BlockTransfer(again, 0, 0, 10, 6, &again, 1, 0, RasterOp::SrcInvert);
    EXPECT_EQ(again.At(0, 0), before.At(0, 0) ^ before.At(1, 0));
    EXPECT_EQ(again.At(8, 5), before.At(8, 5) ^ before.At(9, 5));
    // Far outside, or a block of no size: nothing happens.
    Surface dest(8, 8, 7);
    BlockTransfer(dest, 100000, -100000, 2147483647, 2147483647, &numbered, 0, 0, RasterOp::SrcCopy);
    BlockTransfer(dest, 0, 0, -5, 3, nullptr, 0, 0, RasterOp::PatCopy, 1);
    EXPECT_EQ(dest.Pixels(), std::vector<Pixel>(64, 7));
}

TEST(Sprites, ASilhouetteLeavesThePairAsItWas)
{
    EmbeddedResources resources;
    SpritePair boss;
    LoadSpritePair(&resources, boss, 281);
    DrawContext spriteDC;
    const Surface mask = *boss.mask;
    Surface frame(64, 64, 0x123456);
    DrawContext dc;
    dc.bitmap = &frame;
    DrawSilhouette(dc, spriteDC, boss, 0, 0, 64);
    EXPECT_EQ(boss.mask->Pixels(), mask.Pixels());
    Surface again(64, 64, 0x123456);
    dc.bitmap = &again;
    DrawSprite(dc, spriteDC, boss, 0, 0, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool figure = mask.At(x, y) == kBlack;
            ASSERT_EQ(frame.At(x, y), figure ? kWhite : 0x123456u) << x << "," << y;
            ASSERT_EQ(again.At(x, y), figure ? boss.image->At(x, y) : 0x123456u) << x << "," << y;
        }
}

TEST(BitmapDecoder, ReadsEveryResourceAndRefusesBrokenImages)
{
    EmbeddedResources resources;
    for (std::uint32_t id = 201; id <= 312; ++id) {
        const ResourceData block = resources.Find("BITMAP", id);
        if (block.data == nullptr)
            continue;
        const auto surface = DecodeBitmap(block.data, block.size);
        ASSERT_TRUE(surface) << id;
        const int size = (id >= 281 && id <= 300) || id >= 311 ? 64 : 32;
        EXPECT_EQ(std::pair(surface->Width(), surface->Height()), std::pair(size, size)) << id;
        // Every truncation is refused without reading past the end.
        for (std::size_t cut = 0; cut < block.size; cut += 7)
            EXPECT_FALSE(DecodeBitmap(block.data, cut)) << id << " cut at " << cut;
    }
    const ResourceData tint = resources.Find("BITMAP", 311);
    // 3 bits per pixel, which does not exist; an absurd height.
    for (const auto& [at, value] : {std::pair{28, 3}, {24, 0x7F}}) {
        std::vector<std::uint8_t> broken(tint.data, tint.data + tint.size);
        broken[at] = static_cast<std::uint8_t>(value);
        EXPECT_FALSE(DecodeBitmap(broken.data(), broken.size())) << at;
    }
    EXPECT_FALSE(DecodeBitmap(nullptr, 100));
}

} // namespace
} // namespace ruvo
