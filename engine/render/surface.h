// 32-bit pixel surfaces and the one block-transfer routine that all drawing
// goes through. Pixels are 0x00RRGGBB: black is all bits 0, white all colour
// bits 1, and the raster operations work bit for bit on those values.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ruvo {

using Pixel = std::uint32_t;

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kColourBits = 0xFFFFFF;

// A COLORREF is 0x00BBGGRR; our pixels are 0x00RRGGBB.
constexpr Pixel PixelFromColorRef(std::uint32_t colorRef)
{
    return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
}

class Surface {
  public:
    Surface(std::int32_t width, std::int32_t height, Pixel fill = kBlack);

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    Pixel At(std::int32_t x, std::int32_t y) const { return pixels_[Index(x, y)]; }
    void Set(std::int32_t x, std::int32_t y, Pixel p) { pixels_[Index(x, y)] = p; }
    Pixel* Row(std::int32_t y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const Pixel* Row(std::int32_t y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::vector<Pixel>& Pixels() const { return pixels_; }

  private:
    std::size_t Index(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    std::int32_t width_;
    std::int32_t height_;
    std::vector<Pixel> pixels_;
};

// The six raster operations, named after the GDI codes SRCCOPY ... PATCOPY
// but spelt differently, so that a platform layer may include <windows.h>,
// whose macros carry the upper-case names, beside this header.
enum class RasterOp {
    SrcCopy,   // D = S
    SrcAnd,    // D = D AND S
    SrcInvert, // D = D XOR S
    SrcPaint,  // D = D OR S
    DstInvert, // D = NOT D
    PatCopy,   // D = brush
};

// Combines a width x height block of source (at sx, sy) into dest (at dx, dy).
// The block is clipped to both surfaces; operations without a source ignore
// source, and PatCopy paints brush. Source and dest may be the same surface
// with overlapping blocks: the result is as if the whole source were read first.
void BlockTransfer(Surface& dest, std::int32_t dx, std::int32_t dy, std::int32_t width, std::int32_t height,
                   const Surface* source, std::int32_t sx, std::int32_t sy, RasterOp op, Pixel brush = kBlack);

} // namespace ruvo
