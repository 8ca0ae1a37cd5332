// The boss: its ten movement patterns, its look and its defeat.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/game.h"

namespace ruvo {

int InitBossPattern(Game& game);
int MoveBoss(Game& game);

// Pattern routines: a flag of 0 places the boss, any other value steers it.
int SweepHighPattern(Game& game, std::int32_t steer);
int SweepLowPattern(Game& game, std::int32_t steer);
int StairsPattern(Game& game, std::int32_t steer);
int HopPattern(Game& game, std::int32_t steer);
int WanderPattern(Game& game, std::int32_t steer);
int StopAndGoPattern(Game& game, std::int32_t steer);
int DashPattern(Game& game, std::int32_t steer);
int LungePattern(Game& game, std::int32_t steer);
int FlutterPattern(Game& game, std::int32_t steer);
int BouncePattern(Game& game, std::int32_t steer);

// The boss's picture from now on: the round's boss, red-dithered when tinted.
int ComposeBossSprite(Game& game, std::int32_t tinted);
// One step of the eight-step wipe that uncovers the scenery behind a beaten boss.
int DissolveBoss(Game& game);

} // namespace ruvo
