// Sound effects from the executable's WAVE resources, and background music
// through the music library.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "audio/tracks.h"
#include "record/record.h"

namespace ruvo {

enum WaveSound : std::int32_t {
    SoundBounce = 0,
    SoundMiss = 1,
    SoundGameOver = 2,
    SoundStomp = 3,
    SoundDissolve = 4,
    SoundHurry = 5,
};

int PlaySoundEffect(GameRecord& record, WaveSound sound);
int OpenMusic(GameRecord& record);
int LoadMusic(GameRecord& record);
int PlayMusic(GameRecord& record);
int StopMusic(GameRecord& record);
int CloseMusic(GameRecord& record);
int FreeMusic(GameRecord& record);

// Selects a track: it becomes the one that fits the moment, and plays now if
// music is on.
void SelectMusic(GameRecord& record, MusicTrack track);

} // namespace ruvo
