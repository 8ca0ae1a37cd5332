// The game's state machine and its clock: title, rounds, banners and game over.
// SPDX-License-Identifier: MIT
#include "game/flow.h"

#include "audio/audio.h"
#include "game/banners.h"
#include "game/boss.h"
#include "game/scenery.h"
#include "game/title.h"
#include "game/wrapping.h"

namespace ruvo {

std::int32_t BossHitsFor(std::uint32_t round, std::uint32_t bossLevel)
{
    double hits = static_cast<double>(round - 1u);
    hits /= 10.0;
    hits += 2.0;
    hits /= 2.0;
    hits *= static_cast<double>(bossLevel);
    // At most about 9.2e17, well inside a 64-bit integer.
    const auto whole = static_cast<std::int64_t>(hits);
    return WrapTo32(whole);
}

int ResetRound(Game& game)
{
    game.tickInterval = static_cast<std::int32_t>(game.optSpeed);
    game.hurryInterval = static_cast<std::int32_t>(game.optHarrySpeed);
    game.roundTicks = 0;
    game.scrollX = 0;
    game.gapRun = 0;
    game.bossHits = BossHitsFor(game.round, game.optBossLevel);
    game.jumperLook = static_cast<std::int32_t>(2u * (((game.round - 1u) / 10u) % 2u));
    game.jumperCol = 12;
    game.jumperRow = 17;
    game.jumperVy = -1;
    game.bossActive = 0;
    game.stompArmed = 1;
    game.hurryActive = 0;
    InitBossPattern(game);
    return 1;
}

int InitTitle(Game& game)
{
    game.state = StateTitle;
    Ask(game, AskFor::Menu);
    game.round = game.optRound;
    game.lives = game.optDamage;
    ResetRound(game);
    PrefillStage(game);
    Ask(game, AskFor::Timer, game.tickInterval);
    SelectMusic(game, MusicTitle);
    return 1;
}

int NewGame(Game& game)
{
    game.state = StatePlay;
    Ask(game, AskFor::Menu);
    game.score = 0;
    game.round = game.optRound;
    game.lives = game.optDamage;
    StartRound(game);
    return 1;
}

int StartRound(Game& game)
{
    game.state = StatePlay;
    ResetRound(game);
    PrefillStage(game);
    Ask(game, AskFor::Timer, game.tickInterval);
    ComposeBossSprite(game, 0);
    AnimateSun(game);
    Mark jumper;
    jumper.kind = MarkKind::Jumper;
    jumper.a = static_cast<std::uint8_t>(game.jumperLook);
    jumper.x = 8 * game.jumperCol;
    jumper.y = 8 * game.jumperRow;
    AddMark(game.picture, jumper);
    SelectMusic(game, MusicRound);
    return 1;
}

int AdvanceRoundClock(Game& game)
{
    game.score += 1;
    game.roundTicks += 1;
    if (game.roundTicks >= game.optDistance && game.bossActive == 0) {
        game.bossActive = 1;
        SelectMusic(game, MusicBoss);
    }
    // A tick that has just ended the game or beaten the boss keeps its state:
    // the hurry-up waits for the next tick of play, if one comes.
    const bool stillPlaying = game.state == StatePlay;
    if (game.roundTicks >= game.optHarryLevel && game.hurryActive == 0 && stillPlaying) {
        game.hurryActive = 1;
        game.tickInterval = game.hurryInterval;
        Ask(game, AskFor::Sound, SoundHurry);
        Ask(game, AskFor::Timer, game.tickInterval);
        ShowHurryUp(game);
    }
    return 1;
}

TickEnd BannerCountdown(Game& game)
{
    game.bannerTicks = WrapAdd(game.bannerTicks, -1);
    if (game.bannerTicks != 0)
        return TickEnd::Going;
    const auto followUp = [&game] { return static_cast<std::uint16_t>(game.state >> 8); };
    if (followUp() & AfterStart)
        game.state = StatePlay;
    if (followUp() & AfterHurry)
        game.state = StatePlay;
    if (followUp() & AfterClear) {
        game.round += 1;
        StartRound(game);
        DrawStatusLine(game);
        ShowStartBanner(game);
        Ask(game, AskFor::Invalidate);
    }
    return (followUp() & AfterGameOver) != 0 ? TickEnd::GameOver : TickEnd::Going;
}

int StartGame(Game& game)
{
    NewGame(game);
    DrawStatusLine(game);
    ShowStartBanner(game);
    Ask(game, AskFor::Invalidate);
    return 1;
}

int PauseGame(Game& game)
{
    if (game.paused == 1) {
        game.paused = 0;
        game.state = StatePlay;
    } else if ((game.state & 0xFF) == StatePlay) {
        game.paused = 1;
        game.state = StatePause;
    }
    return 1;
}

} // namespace ruvo
