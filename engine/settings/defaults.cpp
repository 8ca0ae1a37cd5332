// The options' defaults and the fixed limits, then the saved settings read.
// SPDX-License-Identifier: MIT
#include "settings/defaults.h"

#include "audio/audio.h"
#include "settings/options.h"
#include "settings/registry.h"

namespace ruvo {

void GameDefaults(Game& game)
{
    game.fieldWidth = kFieldWidth;
    game.fieldHeight = kFieldHeight;
    game.stageWidth = game.fieldWidth + 64;
    game.stageHeight = game.fieldHeight + 64;
    game.state = StateTitle;
    for (std::size_t row = 0; row < kOptionRows.size(); ++row)
        SetOptionBits(game, row, static_cast<std::uint32_t>(kOptionRows[row].defaultValue));
    game.score = 0;
    game.maxGap = 9;
    game.bossColMax = game.fieldWidth / 8 - 1;
    game.bossColMin = 0;
    game.bossRowMax = (game.fieldHeight - 128) / 8 - 1;
    game.bossRowMin = 4;
    game.musicTrack = MusicTitle;
}

int InitDefaults(GameRecord& record)
{
    GameDefaults(record.game);
    LoadSettings(record);
    return 1;
}

} // namespace ruvo
