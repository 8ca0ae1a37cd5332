// The game's state machine and its clock.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/record.h"

namespace ruvo {

int GameTick(GameRecord& record);
int ResetRound(GameRecord& record);
int InitTitle(GameRecord& record);
int NewGame(GameRecord& record);
int StartRound(GameRecord& record);
int AdvanceRoundClock(GameRecord& record);
int BannerCountdown(GameRecord& record);

// Stomps a round's boss takes: ((round - 1) / 10 + 2) / 2 x bossLevel, in
// double precision, truncated, low 32 bits kept.
std::int32_t BossHitsFor(std::uint32_t round, std::uint32_t bossLevel);

} // namespace ruvo
