// The centred banners: start, round clear, game over, pause and hurry-up.
// SPDX-License-Identifier: MIT
#include "game/banners.h"

#include <cstdio>
#include <string_view>

#include "render/text.h"

namespace ruvo {
namespace {

constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kRed = 0x000000FF;

void WriteBanner(GameRecord& record, std::string_view text, std::uint32_t colorRef)
{
    DrawContext& dc = record.frameDC;
    SelectFont(dc, record.textFont);
    SetTextColor(dc, colorRef);
    WriteCentred(record.host.text, dc, kCentreDown, text);
}

void EnterWait(GameRecord& record, std::uint16_t stateWord, std::int32_t ticks)
{
    record.state = stateWord;
    record.bannerTicks = ticks;
}

} // namespace

int ShowStartBanner(GameRecord& record)
{
    WriteBanner(record, "START", kBlue);
    EnterWait(record, kStartBannerWord, 20);
    return 1;
}

int ShowRoundClear(GameRecord& record)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02u Round Clear", record.round);
    WriteBanner(record, text, kBlue);
    EnterWait(record, kClearBannerWord, 20);
    return 1;
}

int ShowGameOver(GameRecord& record)
{
    WriteBanner(record, "GAME OVER", kRed);
    EnterWait(record, kGameOverBannerWord, 20);
    return 1;
}

int ShowHurryUp(GameRecord& record)
{
    WriteBanner(record, "HARRY UP", kRed);
    EnterWait(record, kHurryBannerWord, 10);
    return 1;
}

int ShowPause(GameRecord& record)
{
    WriteBanner(record, "PAUSE", kRed);
    return 1;
}

} // namespace ruvo
