// The boss: its ten movement patterns, its look and its defeat.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/record.h"

namespace ruvo {

int InitBossPattern(GameRecord& record);
int MoveBoss(GameRecord& record);

// Pattern routines: a flag of 0 places the boss, any other value steers it.
int SweepHighPattern(GameRecord& record, std::int32_t steer);
int SweepLowPattern(GameRecord& record, std::int32_t steer);
int StairsPattern(GameRecord& record, std::int32_t steer);
int HopPattern(GameRecord& record, std::int32_t steer);
int WanderPattern(GameRecord& record, std::int32_t steer);
int StopAndGoPattern(GameRecord& record, std::int32_t steer);
int DashPattern(GameRecord& record, std::int32_t steer);
int LungePattern(GameRecord& record, std::int32_t steer);
int FlutterPattern(GameRecord& record, std::int32_t steer);
int BouncePattern(GameRecord& record, std::int32_t steer);

// Fills bossWork with the round's boss picture, red-dithered when tinted.
int ComposeBossSprite(GameRecord& record, std::int32_t tinted);
// One step of the eight-step wipe that uncovers the scenery behind a beaten boss.
int DissolveBoss(GameRecord& record);

} // namespace ruvo
