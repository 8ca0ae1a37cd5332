// The options' defaults and the fixed limits, then the saved settings read.
// SPDX-License-Identifier: MIT
#include "settings/defaults.h"

#include "audio/audio.h"
#include "settings/registry.h"

namespace ruvo {

int InitDefaults(GameRecord& record)
{
    record.state = StateTitle;
    record.optRound = 1;
    record.optDistance = 300;
    record.optHarryLevel = 600;
    record.optGameLevel = 60;
    record.optBossLevel = 10;
    record.optSpeed = 80;
    record.optHarrySpeed = 50;
    record.optDamage = 4;
    record.score = 0;
    record.maxGap = 9;
    record.bossColMax = record.fieldWidth / 8 - 1;
    record.bossColMin = 0;
    record.bossRowMax = (record.fieldHeight - 128) / 8 - 1;
    record.bossRowMin = 4;
    record.musicTrack = MusicTitle;
    LoadSettings(record);
    return 1;
}

} // namespace ruvo
