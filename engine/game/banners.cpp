// The centred banners: start, round clear, game over, pause and hurry-up.
// SPDX-License-Identifier: MIT
#include "game/banners.h"

namespace ruvo {
namespace {

void ShowBanner(Game& game, BannerText text)
{
    Mark banner;
    banner.kind = MarkKind::Banner;
    banner.a = static_cast<std::uint8_t>(text);
    banner.d = game.round;
    AddMark(game.picture, banner);
}

void EnterWait(Game& game, std::uint16_t stateWord, std::int32_t ticks)
{
    game.state = stateWord;
    game.bannerTicks = ticks;
}

} // namespace

int ShowStartBanner(Game& game)
{
    ShowBanner(game, BannerText::Start);
    EnterWait(game, kStartBannerWord, 20);
    return 1;
}

int ShowRoundClear(Game& game)
{
    ShowBanner(game, BannerText::RoundClear);
    EnterWait(game, kClearBannerWord, 20);
    return 1;
}

int ShowGameOver(Game& game)
{
    ShowBanner(game, BannerText::GameOver);
    EnterWait(game, kGameOverBannerWord, 20);
    return 1;
}

int ShowHurryUp(Game& game)
{
    ShowBanner(game, BannerText::HurryUp);
    EnterWait(game, kHurryBannerWord, 10);
    return 1;
}

int ShowPause(Game& game)
{
    ShowBanner(game, BannerText::Pause);
    return 1;
}

} // namespace ruvo
