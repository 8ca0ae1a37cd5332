// The game's state machine and its clock: title, rounds, banners and game over.
// SPDX-License-Identifier: MIT
#include "game/flow.h"

#include "audio/audio.h"
#include "game/banners.h"
#include "game/boss.h"
#include "game/scenery.h"
#include "game/title.h"
#include "game/window.h"
#include "game/wrapping.h"
#include "render/draw.h"
#include "settings/highscore.h"

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

int ResetRound(GameRecord& record)
{
    record.tickInterval = static_cast<std::int32_t>(record.optSpeed);
    record.hurryInterval = static_cast<std::int32_t>(record.optHarrySpeed);
    record.roundTicks = 0;
    record.scrollX = 0;
    record.gapRun = 0;
    record.bossHits = BossHitsFor(record.round, record.optBossLevel);
    record.jumperLook = static_cast<std::int32_t>(2u * (((record.round - 1u) / 10u) % 2u));
    record.jumperCol = 12;
    record.jumperRow = 17;
    record.jumperVy = -1;
    record.bossActive = 0;
    record.stompArmed = 1;
    record.hurryActive = 0;
    InitBossPattern(record);
    return 1;
}

int InitTitle(GameRecord& record)
{
    record.state = StateTitle;
    UpdateMenu(record);
    record.round = record.optRound;
    record.lives = record.optDamage;
    ResetRound(record);
    PrefillStage(record);
    RestartTimer(record);
    SelectMusic(record, MusicTitle);
    return 1;
}

int NewGame(GameRecord& record)
{
    record.state = StatePlay;
    UpdateMenu(record);
    record.score = 0;
    record.round = record.optRound;
    record.lives = record.optDamage;
    StartRound(record);
    return 1;
}

int StartRound(GameRecord& record)
{
    record.state = StatePlay;
    ResetRound(record);
    PrefillStage(record);
    RestartTimer(record);
    ComposeBossSprite(record, 0);
    AnimateSun(record);
    DrawSprite(record.frameDC, record.spriteDC, record.jumperSprites[static_cast<std::size_t>(record.jumperLook)],
               8 * record.jumperCol, 8 * record.jumperRow, 32);
    SelectMusic(record, MusicRound);
    return 1;
}

int AdvanceRoundClock(GameRecord& record)
{
    record.score += 1;
    record.roundTicks += 1;
    if (record.roundTicks >= record.optDistance && record.bossActive == 0) {
        record.bossActive = 1;
        SelectMusic(record, MusicBoss);
    }
    // A tick that has just ended the game or beaten the boss keeps its state:
    // the hurry-up waits for the next tick of play, if one comes.
    const bool stillPlaying = record.state == StatePlay;
    if (record.roundTicks >= record.optHarryLevel && record.hurryActive == 0 && stillPlaying) {
        record.hurryActive = 1;
        record.tickInterval = record.hurryInterval;
        if (record.soundOn != 0)
            PlaySoundEffect(record, SoundHurry);
        RestartTimer(record);
        ShowHurryUp(record);
    }
    return 1;
}

int BannerCountdown(GameRecord& record)
{
    record.bannerTicks = WrapAdd(record.bannerTicks, -1);
    if (record.bannerTicks != 0)
        return 1;
    const auto followUp = [&record] { return static_cast<std::uint16_t>(record.state >> 8); };
    if (followUp() & AfterStart)
        record.state = StatePlay;
    if (followUp() & AfterHurry)
        record.state = StatePlay;
    if (followUp() & AfterClear) {
        record.round += 1;
        StartRound(record);
        DrawStatusLine(record);
        ShowStartBanner(record);
        InvalidateWindow(record);
    }
    if (followUp() & AfterGameOver) {
        CheckHighScore(record);
        InitTitle(record);
    }
    return 1;
}

} // namespace ruvo
