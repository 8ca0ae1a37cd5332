// What changed in the frame since the field last showed it.
// SPDX-License-Identifier: MIT
#include "platform/desktop/field_changes.h"

#include <algorithm>
#include <cstring>

namespace ruvo {
namespace {

// Rows are compared eight pixels at a time where they agree: a fixed-size
// memcmp the compiler turns into a few vector instructions.
constexpr int kRun = 8;

bool SameRun(const Pixel* a, const Pixel* b)
{
    return std::memcmp(a, b, kRun * sizeof(Pixel)) == 0;
}

// The first and last pixels where two rows known to differ differ.
int FirstDifference(const Pixel* a, const Pixel* b, int width)
{
    int x = 0;
    while (x + kRun <= width && SameRun(a + x, b + x))
        x += kRun;
    while (a[x] == b[x])
        ++x;
    return x;
}

int LastDifference(const Pixel* a, const Pixel* b, int width)
{
    int end = width;
    while (end >= kRun && SameRun(a + end - kRun, b + end - kRun))
        end -= kRun;
    int x = end - 1;
    while (a[x] == b[x])
        --x;
    return x;
}

// The row as shown: the frame's, or a copy of it in `row` with the patches
// that cover it.
const Pixel* ShownRow(const Surface& frame, int y, std::span<const FieldPatch> patches, std::vector<Pixel>& row)
{
    const Pixel* line = frame.Row(y);
    for (const FieldPatch& patch : patches) {
        const Rect& a = patch.area;
        if (patch.pixels == nullptr || y < a.y || y >= a.y + a.height || y >= patch.pixels->Height())
            continue;
        const int left = std::max(a.x, 0);
        const int right = std::min({a.x + a.width, frame.Width(), patch.pixels->Width()});
        if (left >= right)
            continue;
        if (line != row.data()) {
            row.assign(line, line + frame.Width());
            line = row.data();
        }
        std::copy(patch.pixels->Row(y) + left, patch.pixels->Row(y) + right, row.begin() + left);
    }
    return line;
}

} // namespace

std::vector<Rect> TakeChanges(const Surface& frame, Pixel* shown, std::size_t stride,
                              std::span<const FieldPatch> patches)
{
    // A few unchanged rows inside a band cost less than another rectangle.
    constexpr int kLargestGap = 8;
    const int width = frame.Width();
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(Pixel);
    std::vector<Rect> bands;
    int top = -1;
    int bottom = -1;
    int left = width;
    int right = -1;
    std::vector<Pixel> row;
    const auto closeBand = [&] {
        if (top >= 0)
            bands.push_back({left, top, right - left + 1, bottom - top + 1});
        top = -1;
        left = width;
        right = -1;
    };
    for (int y = 0; y < frame.Height(); ++y) {
        const Pixel* now = ShownRow(frame, y, patches, row);
        Pixel* was = shown + static_cast<std::size_t>(y) * stride;
        if (std::memcmp(now, was, rowBytes) == 0) {
            if (top >= 0 && y - bottom > kLargestGap)
                closeBand();
            continue;
        }
        if (top < 0)
            top = y;
        bottom = y;
        left = std::min(left, FirstDifference(now, was, width));
        right = std::max(right, LastDifference(now, was, width));
        std::memcpy(was, now, rowBytes);
    }
    closeBand();
    return bands;
}

} // namespace ruvo
