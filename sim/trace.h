// The runner's trace lines and the hashes they carry.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/headless_host.h"
#include "record/record.h"

namespace ruvo::sim {

// FNV-1a, 32 bits, over the whole collision grid, row by row.
std::uint32_t GridHash(const Game& game);

// One trace line (without the newline) after tick k: of the window's game,
// or of a game heard with those switches (a replay's).
std::string TraceLine(std::uint64_t k, const GameRecord& record, const std::vector<int>& effects,
                      const std::vector<std::string>& music);
std::string TraceLine(std::uint64_t k, const Game& game, std::int32_t soundOn, std::int32_t musicOn,
                      const std::vector<int>& effects, const std::vector<std::string>& music);

std::string HighScoreLines(const GameRecord& record);

// What a game played since the last look, as a trace line reports it: the
// effects by their number, the music as "track:repeat".
class PlayedSince {
  public:
    std::vector<int> Effects(const RecordingWavePlayer& wave, const GameRecord& record);
    std::vector<std::string> Music(const StandInMusic& music);

  private:
    std::size_t effectsSeen_ = 0;
    std::size_t playsSeen_ = 0;
};

} // namespace ruvo::sim
