// A few of the record's fields, by number, for the page's tests and its
// benchmark: the state word, the score, the lives, the jumper's row and
// vertical direction, whether a dive is armed to stomp, the tick interval,
// the sound and music switches, the best score, whether a replay plays,
// the score, round and ticks of the last replay watched to its end, whether
// a race runs, whether its ghost shows and where; -1 before start-up and
// after the end. Besides, the game's own frame (without the ghost), to hold
// the canvas against. Only the tests' build of the page (build-web/test-site) has it,
// never the shipped one.
// SPDX-License-Identifier: MIT
#include "platform/web/web_game.h"

using namespace ruvo;

RUVO_EXPORT(ruvo_probe) std::int32_t RuvoProbe(std::int32_t field)
{
    const GameRecord* record = RunningRecord();
    if (record == nullptr)
        return -1;
    const GameRecord& r = *record;
    switch (field) {
    case 0:
        return r.game.state;
    case 1:
        return static_cast<std::int32_t>(r.game.score);
    case 2:
        return r.game.lives;
    case 3:
        return r.game.jumperRow;
    case 4:
        return r.game.jumperVy;
    case 5:
        return r.game.stompArmed;
    case 6:
        return r.game.tickInterval;
    case 7:
        return r.soundOn;
    case 8:
        return r.musicOn;
    case 9:
        return static_cast<std::int32_t>(r.game.hiScores[0]);
    case 10:
        return r.watch ? 1 : 0;
    case 11:
        return static_cast<std::int32_t>(r.lastWatched.score);
    case 12:
        return static_cast<std::int32_t>(r.lastWatched.round);
    case 13:
        return static_cast<std::int32_t>(r.lastWatched.ticks);
    case 14:
        return r.race ? 1 : 0;
    case 15:
        return r.drawing.ghostShown ? 1 : 0;
    case 16:
        return r.drawing.ghostArea.x;
    case 17:
        return r.drawing.ghostArea.y;
    case 18:
        return r.drawing.ghostArea.width;
    case 19:
        return r.drawing.ghostArea.height;
    default:
        return -1;
    }
}

// The frame's pixels (0xRRGGBB, row by row), or null.
RUVO_EXPORT(ruvo_probe_frame) const Pixel* RuvoProbeFrame()
{
    const GameRecord* record = RunningRecord();
    return record != nullptr && record->drawing.frameBitmap ? record->drawing.frameBitmap->Row(0) : nullptr;
}
