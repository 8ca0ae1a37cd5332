// Tests of finding what changed in the field, a race's ghost over it included.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop/field_changes.h"

namespace ruvo {
namespace {

// "x,y wxh" for each band.
std::string Bands(const std::vector<Rect>& bands)
{
    std::string text;
    for (const Rect& band : bands)
        text += std::to_string(band.x) + "," + std::to_string(band.y) + " " + std::to_string(band.width) + "x" +
                std::to_string(band.height) + ";";
    return text;
}

// A row 13 pixels wide runs past whole eight-pixel stretches at both ends;
// a change at either end of a stretch, or of the row, must still count.
TEST(FieldChanges, BandsHoldEveryChangedPixelAndMergeAcrossShortGaps)
{
    Surface frame(13, 40, 0x123456);
    std::vector<Pixel> shown(frame.Pixels());
    EXPECT_TRUE(TakeChanges(frame, shown.data(), 13).empty());

    frame.Set(0, 2, 1);  // the first pixel
    frame.Set(12, 5, 1); // the last, in the tail past the stretches
    frame.Set(7, 10, 1);
    frame.Set(8, 19, 1); // eight unchanged rows since the last change: the same band
    frame.Set(3, 29, 1); // nine: a band of its own
    frame.Set(5, 39, 1); // the last row
    EXPECT_EQ(Bands(TakeChanges(frame, shown.data(), 13)), "0,2 13x18;3,29 1x1;5,39 1x1;");
    EXPECT_EQ(shown, frame.Pixels()) << "the copy brought up to date";
    EXPECT_TRUE(TakeChanges(frame, shown.data(), 13).empty());

    // A patch over the frame (a race's ghost) shows where it is, within the
    // frame; moved or gone, the frame shows again where it was.
    const Surface ghost(13, 40, 7);
    const FieldPatch at[] = {{&ghost, {10, 30, 5, 2}}};
    EXPECT_EQ(Bands(TakeChanges(frame, shown.data(), 13, at)), "10,30 3x2;");
    const FieldPatch moved[] = {{&ghost, {0, 31, 2, 1}}};
    EXPECT_EQ(Bands(TakeChanges(frame, shown.data(), 13, moved)), "0,30 13x2;");
    EXPECT_EQ(shown[31 * 13 + 1], 7u);
    EXPECT_EQ(shown[31 * 13 + 12], frame.At(12, 31));
    EXPECT_EQ(Bands(TakeChanges(frame, shown.data(), 13)), "0,31 2x1;");
    EXPECT_EQ(shown, frame.Pixels());

    // Rows of the copy further apart than the frame's.
    std::vector<Pixel> wide(16 * 40, 0);
    EXPECT_EQ(Bands(TakeChanges(frame, wide.data(), 16)), "0,0 13x40;");
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(wide[static_cast<std::size_t>(y * 16 + x)], x < 13 ? frame.At(x, y) : 0u) << x << "," << y;
}

} // namespace
} // namespace ruvo
