// Recording, passive: every game is recorded from its Start command to the
// tick that takes it back to the title. The window procedure shows the
// recorder what the platform gives the game, and the recorder keeps what took
// effect: the start state, the dives that sent the jumper down, the pauses,
// the Sound and Music switches, and the name typed at the end. A finished
// game is kept as the last game's replay, and as its row's when it enters the
// high-score table (app/replay_keep.h).
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "record/record.h"
#include "replay/replay_file.h"

namespace ruvo {

// The Start command: the start state, and no commands yet.
void BeginRecording(GameRecord& record);

// What the player is told when the store refused a game's replay.
constexpr const char* kReplayNotKept = "This game's replay could not be kept: the replay store refused to write it.";

// Around every timer tick.
void BeforeRecordedTick(GameRecord& record);
void AfterRecordedTick(GameRecord& record);

// What a command or a dive may change.
struct ReplayWitness {
    std::int32_t paused = 0;
    std::int32_t soundOn = 0;
    std::int32_t musicOn = 0;
    std::int32_t jumperVy = 0;
};
ReplayWitness Witness(const GameRecord& record);
// After a menu command: the pause or the switch it changed.
void RecordCommand(GameRecord& record, const ReplayWitness& before);
// After a dive: kept when it sent the jumper down.
void RecordDive(GameRecord& record, const ReplayWitness& before);

// The replay of the game under way as far as it has gone (the result so far).
Replay RecordedSoFar(const GameRecord& record);

// "2026-03-01T14:05:09Z" for a count of seconds since 1970 (UTC).
std::string UtcDate(std::int64_t seconds);

} // namespace ruvo
