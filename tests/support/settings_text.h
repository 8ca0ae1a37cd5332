// The eighteen values the game keeps of its settings, as one line of text,
// for the settings tests that compare what loads with what was saved.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "settings/registry.h"

namespace ruvo::testing {

inline std::string SettingsText(const GameRecord& r)
{
    std::string out = "Sound=" + std::to_string(r.soundOn) + " Music=" + std::to_string(r.musicOn) +
                      " Option=" + std::to_string(r.optionEnabled);
    for (std::size_t k = 0; k < 5; ++k) {
        const std::string row = std::to_string(k + 1);
        out += " Score" + row + "=" + std::to_string(r.game.hiScores[k]) + " Round" + row + "=" +
               std::to_string(r.game.hiRounds[k]) + " Name" + row + "=\"" + std::string(NameText(r.game.hiNames[k])) +
               "\"";
    }
    return out;
}

} // namespace ruvo::testing
