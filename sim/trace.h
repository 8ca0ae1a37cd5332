#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "record/record.h"

namespace ruvo::sim {

// FNV-1a, 32 bits, over the whole collision grid, row by row.
std::uint32_t GridHash(const GameRecord& record);

// One trace line (without the newline) after tick k.
std::string TraceLine(std::uint64_t k, const GameRecord& record, const std::vector<int>& effects,
                      const std::vector<std::string>& music);

std::string HighScoreLines(const GameRecord& record);

} // namespace ruvo::sim
