// Pixel surfaces and the block transfer with its six raster operations.
// SPDX-License-Identifier: MIT
#include "render/surface.h"

#include <algorithm>
#include <cstring>

namespace ruvo {

Surface::Surface(std::int32_t width, std::int32_t height, Pixel fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill)
{
}

namespace {

struct Span {
    std::int64_t d;
    std::int64_t s;
    std::int64_t n;
};

// Shrinks one axis of the block so that it lies inside both surfaces.
Span ClipAxis(std::int64_t d, std::int64_t s, std::int64_t n, std::int64_t destSize, std::int64_t srcSize,
              bool hasSource)
{
    if (d < 0) {
        s -= d;
        n += d;
        d = 0;
    }
    if (hasSource && s < 0) {
        d -= s;
        n += s;
        s = 0;
    }
    n = std::min(n, destSize - d);
    if (hasSource)
        n = std::min(n, srcSize - s);
    return {d, s, std::max<std::int64_t>(n, 0)};
}

// One row of the block; the operation is chosen once per row so that each
// loop stays a plain one the compiler can vectorise.
void CombineRow(RasterOp op, Pixel* out, const Pixel* in, std::size_t n, Pixel brush)
{
    switch (op) {
    case RasterOp::SrcCopy:
        std::memmove(out, in, n * sizeof(Pixel));
        break;
    case RasterOp::SrcAnd:
        for (std::size_t c = 0; c < n; ++c)
            out[c] &= in[c];
        break;
    case RasterOp::SrcInvert:
        for (std::size_t c = 0; c < n; ++c)
            out[c] ^= in[c];
        break;
    case RasterOp::SrcPaint:
        for (std::size_t c = 0; c < n; ++c)
            out[c] |= in[c];
        break;
    case RasterOp::DstInvert:
        for (std::size_t c = 0; c < n; ++c)
            out[c] = ~out[c] & kColourBits;
        break;
    case RasterOp::PatCopy:
        std::fill(out, out + n, brush);
        break;
    }
}

} // namespace

void BlockTransfer(Surface& dest, std::int32_t dx, std::int32_t dy, std::int32_t width, std::int32_t height,
                   const Surface* source, std::int32_t sx, std::int32_t sy, RasterOp op, Pixel brush)
{
    const bool usesSource = op != RasterOp::DstInvert && op != RasterOp::PatCopy;
    if (usesSource && source == nullptr)
        return;
    const std::int64_t srcW = usesSource ? source->Width() : 0;
    const std::int64_t srcH = usesSource ? source->Height() : 0;
    const Span x = ClipAxis(dx, sx, width, dest.Width(), srcW, usesSource);
    const Span y = ClipAxis(dy, sy, height, dest.Height(), srcH, usesSource);
    if (x.n == 0 || y.n == 0)
        return;

    const auto cols = static_cast<std::size_t>(x.n);
    if (!usesSource) {
        for (std::int64_t r = 0; r < y.n; ++r)
            CombineRow(op, dest.Row(static_cast<std::int32_t>(y.d + r)) + x.d, nullptr, cols, brush);
        return;
    }

    // Within one surface a shift may overlap itself: walk the rows bottom-up
    // when moving down, and read a row ahead of writing it when it overlaps.
    const bool sameSurface = source == &dest;
    const bool upward = sameSurface && y.d > y.s;
    std::vector<Pixel> rowCopy;
    for (std::int64_t i = 0; i < y.n; ++i) {
        const std::int64_t r = upward ? y.n - 1 - i : i;
        Pixel* out = dest.Row(static_cast<std::int32_t>(y.d + r)) + x.d;
        const Pixel* in = source->Row(static_cast<std::int32_t>(y.s + r)) + x.s;
        if (sameSurface && op != RasterOp::SrcCopy) {
            rowCopy.assign(in, in + cols);
            in = rowCopy.data();
        }
        CombineRow(op, out, in, cols, brush);
    }
}

} // namespace ruvo
