// A frame as one number, for comparing frames tick by tick without keeping
// them: a Fletcher sum (the sum of the pixels, two to a 64-bit word, and the
// sum of those sums, so that a pixel counts by its place as well as its
// value) in four lanes that stay in registers: a frame costs less than a copy
// of it. A changed pixel changes the hash but for a chance of one in 2^64.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstring>

#include "render/surface.h"

namespace ruvo::testing {

inline std::uint64_t FrameHash(const Surface& frame)
{
    const std::vector<Pixel>& pixels = frame.Pixels();
    const std::size_t words = pixels.size() / 2;
    std::uint64_t s0 = 0, s1 = 0, s2 = 0, s3 = 0, t0 = 0, t1 = 0, t2 = 0, t3 = 0;
    std::size_t i = 0;
    for (; i + 4 <= words; i += 4) {
        std::uint64_t w[4];
        std::memcpy(w, pixels.data() + 2 * i, sizeof w);
        t0 += s0 += w[0];
        t1 += s1 += w[1];
        t2 += s2 += w[2];
        t3 += s3 += w[3];
    }
    for (std::size_t p = 2 * i; p < pixels.size(); ++p)
        t0 += s0 += pixels[p];
    std::uint64_t hash = static_cast<std::uint64_t>(frame.Width()) << 32 | static_cast<std::uint32_t>(frame.Height());
    for (const std::uint64_t sum : {s0, s1, s2, s3, t0, t1, t2, t3})
        hash = (hash ^ sum) * 0x100000001b3ull;
    return hash;
}

} // namespace ruvo::testing
