#include "settings/highscore.h"

#include "audio/audio.h"
#include "settings/registry.h"

namespace ruvo {

std::size_t HighScoreRow(const GameRecord& record, std::uint32_t score)
{
    if (score <= record.hiScores[4])
        return 5;
    std::size_t row = 0;
    while (record.hiScores[row] >= score)
        ++row;
    return row;
}

int CheckHighScore(GameRecord& record)
{
    const std::size_t row = HighScoreRow(record, record.score);
    if (row > 4)
        return 1;
    SelectMusic(record, MusicHighScore);
    for (std::size_t j = 4; j > row; --j) {
        record.hiScores[j] = record.hiScores[j - 1];
        record.hiRounds[j] = record.hiRounds[j - 1];
        record.hiNames[j] = record.hiNames[j - 1];
    }
    if (record.host.dialogs != nullptr)
        record.host.dialogs->RunInput(record);
    record.hiScores[row] = record.score;
    record.hiRounds[row] = static_cast<std::uint16_t>(record.round);
    record.hiNames[row] = record.entryName;
    record.hiNames[row].back() = '\0';
    SaveSettings(record);
    if (record.host.dialogs != nullptr)
        record.host.dialogs->RunHighScore(record);
    return 1;
}

} // namespace ruvo
