// Tests of the desktop's text: faces, sizes and the status line.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <tuple>
#include <utility>

#include "game/fonts.h"
#include "game/title.h"
#include "platform/desktop/qt_text.h"
#include "platform/desktop/qt_text_face.h"
#include "render/surface.h"

namespace ruvo {
namespace {

const char* const kStatus = "HI-SCORE:001000      SCORE:000000      ROUND:01";
// The game's texts, the logo, and a name with umlauts.
const char* const kTexts[] = {
    kStatus,    "START",          "PAUSE",     "GAME OVER", "K.D\xC3\xB6rrim\xC3\xA4k",
    "HARRY UP", "01 Round Clear", kCreditText, kLogoText,   "HI-SCORE:999999      SCORE:123456      ROUND:99"};

constexpr std::uint32_t kBlueRef = 0x00FF0000; // a COLORREF: 0x00BBGGRR
constexpr Pixel kBluePixel = 0x0000FF;

// A background in which no two neighbours are alike and none is the text colour.
Surface Patterned(std::int32_t width, std::int32_t height)
{
    Surface surface(width, height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            surface.Set(x, y, 0x400000 | static_cast<Pixel>((x * 131 + y * 977) & 0xFFFF));
    return surface;
}

// Each text in its cell's height, within the field and not empty (a real
// measurement); nothing takes no width; malformed text survives. The logo is
// bold even where the face has no bold.
TEST(TextRendering, TextsFitTheirCellsMalformedTextOrAFontGoneDrawsNothingWrongPaintsOnlyItsColourWhereQPainterPaints)
{
    const auto renderer = std::make_unique<QtTextRenderer>();
    FontId textFont = renderer->MakeFont(TextFontRequest());
    const FontId logoFont = renderer->MakeFont(LogoFontRequest());
    for (const auto& [font, text, height, least, most] : {std::tuple{textFont, kStatus, 18, 301, 384},
                                                          {logoFont, kLogoText, 80, 251, 384},
                                                          {textFont, kCreditText, 18, 101, 384},
                                                          {textFont, "", 18, 0, 0}}) {
        EXPECT_EQ(renderer->Measure(font, text).cy, height) << text;
        EXPECT_GE(renderer->Measure(font, text).cx, least) << text;
        EXPECT_LE(renderer->Measure(font, text).cx, most) << text;
    }
    // A broken sequence measures as replacement characters, one per bad byte.
    const std::int32_t replacement = renderer->Measure(textFont, "\xEF\xBF\xBD").cx;
    EXPECT_EQ(renderer->Measure(textFont, "A\xC3").cx, renderer->Measure(textFont, "A").cx + replacement);
    EXPECT_EQ(renderer->Measure(textFont, "\xE0\x80\x80").cx, 3 * replacement);
    EXPECT_EQ(renderer->Measure(textFont, "\xFF\xFE").cx, 2 * replacement);
    Surface surface = Patterned(384, 200);
    renderer->Draw(surface, textFont, kBlueRef, 0, 0, std::string_view("\xF4\x90\x80\x80\xC0\xAF\x00z", 8));

    // Far outside, at the ends of the coordinate range, or in a font that is
    // unknown or deleted, nothing is drawn.
    const Surface before = surface;
    for (const auto& [x, y] : {std::pair{INT32_MAX - 5, INT32_MAX - 5}, {INT32_MIN, INT32_MIN}, {0, 300}, {-2000, 50}})
        renderer->Draw(surface, textFont, kBlueRef, x, y, kStatus);
    renderer->DeleteFont(textFont);
    EXPECT_EQ(renderer->Measure(textFont, kStatus).cx, 0);
    EXPECT_EQ(renderer->Measure(textFont, kStatus).cy, 0);
    renderer->Draw(surface, textFont, kBlueRef, 0, 0, kStatus);
    renderer->Draw(surface, 9999, kBlueRef, 0, 0, kStatus);
    EXPECT_EQ(surface.Pixels(), before.Pixels());
    EXPECT_EQ(renderer->Measure(logoFont, kLogoText).cy, 80); // the other font is untouched

    FontRequest regular = LogoFontRequest();
    regular.weight = 400;
    const FontId regularFont = renderer->MakeFont(regular);
    const auto inkOf = [&](FontId font) {
        Surface drawn(384, 100);
        renderer->Draw(drawn, font, 0x00FFFFFF, 10, 10, kLogoText);
        return std::count(drawn.Pixels().begin(), drawn.Pixels().end(), kWhite);
    };
    EXPECT_GT(inkOf(logoFont), inkOf(regularFont) * 5 / 4);
    // Emboldening thickens the letters but leaves the spacing alone.
    EXPECT_EQ(renderer->Measure(logoFont, kLogoText).cx, renderer->Measure(regularFont, kLogoText).cx);

    // Only the text colour is painted, inside the text cell, and cut at every
    // edge as if the surface were a window onto a larger one; and the letters
    // laid from the cache are exactly what Qt paints for the whole string in one
    // go.
    const std::int32_t margin = 100;
    for (const FontRequest& request : {TextFontRequest(), LogoFontRequest()}) {
        const TextFace face = ChooseFace(request);
        const FontId font = renderer->MakeFont(request);
        for (const auto& [x, y] :
             {std::pair{5, 40}, std::pair{-30, -7}, std::pair{330, 150}, std::pair{-200, 190}, std::pair{370, -70}}) {
            Surface small = Patterned(384, 200), large = Patterned(384 + 2 * margin, 200 + 2 * margin);
            const Surface blank = large;
            renderer->Draw(small, font, kBlueRef, x, y, kLogoText);
            renderer->Draw(large, font, kBlueRef, x + margin, y + margin, kLogoText);
            const TextExtent extent = renderer->Measure(font, kLogoText);
            int painted = 0;
            for (std::int32_t py = 0; py < large.Height(); ++py)
                for (std::int32_t px = 0; px < large.Width(); ++px) {
                    const bool inked = large.At(px, py) != blank.At(px, py);
                    // The small surface is the large one's middle, drawn alike.
                    if (px >= margin && py >= margin && px < margin + 384 && py < margin + 200) {
                        ASSERT_EQ(small.At(px - margin, py - margin) == kBluePixel, inked) << px << "," << py;
                    }
                    if (!inked)
                        continue;
                    ++painted;
                    ASSERT_EQ(large.At(px, py), kBluePixel) << px << "," << py;
                    // Bold strokes may reach a little past the advance, never out of the cell's rows.
                    EXPECT_TRUE(py >= y + margin && py < y + margin + extent.cy) << px << "," << py;
                    EXPECT_TRUE(px >= x + margin - 4 && px < x + margin + extent.cx + 4) << px << "," << py;
                }
            if (x == 5) {
                EXPECT_GT(painted, 20) << "nothing drawn inside the surface";
            }
        }
        for (const std::string text : kTexts) {
            const QString qtext = QString::fromStdString(text);
            const std::int32_t x = 7, y = 9;
            const TextExtent extent = renderer->Measure(font, text);
            const int width = extent.cx + 40, height = extent.cy + 20;

            Surface ours(width, height);
            renderer->Draw(ours, font, 0x00FFFFFF, x, y, text);

            QImage theirs(width, height, QImage::Format_ARGB32_Premultiplied);
            theirs.fill(Qt::transparent);
            QPainter painter(&theirs);
            painter.setPen(Qt::white);
            PaintLetters(painter, face, QPointF(x, y + face.baseline), qtext);
            painter.end();

            int ink = 0;
            for (int py = 0; py < height; ++py)
                for (int px = 0; px < width; ++px) {
                    const bool inkOurs = ours.At(px, py) == kWhite;
                    const bool inkTheirs = qAlpha(theirs.pixel(px, py)) != 0;
                    ink += inkTheirs ? 1 : 0;
                    ASSERT_EQ(inkOurs, inkTheirs) << text << " at " << px << "," << py;
                }
            EXPECT_GT(ink, 0) << text;
            if (!face.embolden) {
                EXPECT_EQ(extent.cx, QFontMetrics(face.font).horizontalAdvance(qtext)) << text;
            }
        }
    }
}

} // namespace
} // namespace ruvo
