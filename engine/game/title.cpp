// The title screen and the status line, drawn over the composed frame.
// SPDX-License-Identifier: MIT
#include "game/title.h"

#include <cstdio>

#include "render/icon.h"
#include "render/text.h"

namespace ruvo {

std::string FormatStatusLine(std::uint32_t best, std::uint32_t score, std::uint32_t round)
{
    char text[256];
    std::snprintf(text, sizeof text, "HI-SCORE:%06u      SCORE:%06u      ROUND:%02u", best, score, round);
    return text;
}

int DrawTitle(GameRecord& record)
{
    DrawContext& dc = record.frameDC;
    SelectFont(dc, record.logoFont);
    SetTextColor(dc, 0x0000FFFF);
    WriteCentred(record.host.text, dc, kCentreDown, kLogoText);
    SelectFont(dc, record.textFont);
    SetTextColor(dc, 0x00808080);
    WriteCentred(record.host.text, dc, record.fieldHeight - 48, kCreditText);
    return 1;
}

int DrawStatusLine(GameRecord& record)
{
    DrawContext& dc = record.frameDC;
    const std::string text = FormatStatusLine(record.hiScores[0], record.score, record.round);
    SelectFont(dc, record.textFont);
    SetTextColor(dc, 0x00FF0000);
    const TextExtent extent = WriteCentred(record.host.text, dc, 0, text);
    for (std::int32_t i = 0; i < record.lives; ++i) {
        const std::int64_t x = 16 + 16 * static_cast<std::int64_t>(i);
        if (x >= record.fieldWidth)
            break; // the rest would be clipped away anyway
        DrawIcon(dc, Icons().smallIcon, static_cast<std::int32_t>(x), extent.cy + 2, 16);
    }
    return 1;
}

} // namespace ruvo
