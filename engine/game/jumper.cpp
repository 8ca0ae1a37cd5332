// The jumper: bounces on the platform cells, dives, scores and loses lives.
// SPDX-License-Identifier: MIT
#include "game/jumper.h"

#include "audio/audio.h"
#include "game/banners.h"
#include "game/boss.h"
#include "game/grid.h"
#include "game/wrapping.h"
#include "render/draw.h"

namespace ruvo {
namespace {

void PlayIfSoundOn(GameRecord& record, WaveSound sound)
{
    if (record.soundOn != 0)
        PlaySoundEffect(record, sound);
}

void Stomp(GameRecord& record)
{
    record.jumperVy = -record.jumperVy;
    record.score += 100;
    record.stompArmed = 0;
    PlayIfSoundOn(record, SoundStomp);
    record.bossHits = WrapAdd(record.bossHits, -1);
    if (record.bossHits == 2)
        ComposeBossSprite(record, 1);
    if (record.bossHits != 0) {
        DrawSilhouette(record.frameDC, record.spriteDC, record.bossWork, 8 * record.bossCol, 8 * record.bossRow, 64);
    } else {
        // Beaten: the wipe maps frame to stage with the offset on show.
        record.bannerTicks = 0;
        record.scrollX = WrapAdd(record.scrollX, -8);
        record.state = StateDissolve;
    }
}

} // namespace

int MoveJumper(GameRecord& record)
{
    std::int32_t picture = record.jumperLook;
    const std::int32_t c = record.jumperCol;
    const std::int32_t b = WrapAdd(record.jumperRow, record.jumperVy);
    if (b < 0) {
        record.jumperVy = 1;
        record.jumperRow = 0;
        record.stompArmed = 1;
    }
    const std::uint8_t foot = GridCell(record, c, WrapAdd(b, 3));
    const std::uint8_t corners = GridCell(record, c, b) | GridCell(record, c + 3, b) |
                                 GridCell(record, c, WrapAdd(b, 3)) | GridCell(record, c + 3, WrapAdd(b, 3));

    if (foot == CellFloor) {
        if (record.lives == 0) {
            PlayIfSoundOn(record, SoundGameOver);
            ShowGameOver(record);
        } else {
            PlayIfSoundOn(record, SoundMiss);
            record.lives = WrapAdd(record.lives, -1);
            record.jumperVy = -1;
            record.stompArmed = 1;
        }
        picture += 1; // the hurt picture, for this one frame
    } else if (foot == CellPlatform) {
        PlayIfSoundOn(record, SoundBounce);
        record.score += 50;
        record.jumperVy = -1;
        record.stompArmed = 1;
    } else if ((corners & CellBoss) != 0 && record.stompArmed != 0) {
        Stomp(record);
    }

    record.jumperRow = WrapAdd(record.jumperRow, record.jumperVy);
    DrawSprite(record.frameDC, record.spriteDC, record.jumperSprites[static_cast<std::size_t>(picture & 3)], 8 * c,
               8 * record.jumperRow, 32);
    return 1;
}

std::uint8_t ProbeBoss(GameRecord& record)
{
    const std::int32_t c = record.jumperCol;
    const std::int32_t b = WrapAdd(record.jumperRow, record.jumperVy);
    return GridCell(record, c + 1, b + 1) | GridCell(record, c + 2, b + 1) | GridCell(record, c + 1, b + 2) |
           GridCell(record, c + 2, b + 2);
}

int Dive(GameRecord& record)
{
    if (record.jumperVy == 1)
        return 1;
    if (record.jumperRow >= 17)
        return 1;
    record.jumperVy = 1;
    if ((ProbeBoss(record) & CellBoss) == 0)
        record.stompArmed = 1;
    return 1;
}

} // namespace ruvo
