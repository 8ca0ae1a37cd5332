// Sound effects from the executable's WAVE resources, and background music
// through the music library: the game selects, the shell plays.
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
// Plays a track from its start: the game's own, or another game's (a
// replay watched in the window).
int PlayMusic(GameRecord& record, std::int32_t track);
int StopMusic(GameRecord& record);
int CloseMusic(GameRecord& record);
int FreeMusic(GameRecord& record);

// Selects a track: it becomes the one that fits the moment, and the game
// asks for it to play now if music is on.
void SelectMusic(Game& game, MusicTrack track);
// The same for the record's own game, played at once if music is on.
void SelectMusic(GameRecord& record, MusicTrack track);

} // namespace ruvo
