// The music: four Standard MIDI Files, named without a folder and opened
// through the music library, in MusicTrack order. This is the one list of
// them: the build reads the names here to write each file from its score,
// resources/music/NAME.score (so one quoted file name a line, nothing else).
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace ruvo {

enum MusicTrack : std::int32_t {
    MusicTitle = 0,
    MusicRound = 1,
    MusicBoss = 2,
    MusicHighScore = 3,
};

constexpr const char* kMusicFiles[4] = {
    "A_013GMW.MID", // the title, played once
    "A_002GMW.MID", // a round, repeated
    "A_004GMW.MID", // the boss, repeated
    "A_114GMW.MID", // a new high score, played once
};

} // namespace ruvo
