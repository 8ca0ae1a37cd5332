// The game's states and its clock: the title, rounds, banners and game over,
// and one tick of the game as a whole.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "record/game.h"

namespace ruvo {

// How a tick ends: most go on; a game over's banner, run out, hands the
// game to its session, which checks the score against the table (where the
// name dialog may open) and then calls InitTitle.
enum class TickEnd { Going, GameOver };

TickEnd GameTick(Game& game);
int ResetRound(Game& game);
int InitTitle(Game& game);
int NewGame(Game& game);
int StartRound(Game& game);
int AdvanceRoundClock(Game& game);
TickEnd BannerCountdown(Game& game);

// The Start command's part of the game: a new game under its banner.
int StartGame(Game& game);
// The Pause command's: pauses a game in play, resumes a paused one.
int PauseGame(Game& game);

// Stomps a round's boss takes: ((round - 1) / 10 + 2) / 2 x bossLevel, in
// double precision, truncated, low 32 bits kept.
std::int32_t BossHitsFor(std::uint32_t round, std::uint32_t bossLevel);

} // namespace ruvo
