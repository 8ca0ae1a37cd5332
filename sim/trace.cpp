// The runner's trace: one line per tick, with the grid's and the frame's hashes.
// SPDX-License-Identifier: MIT
#include "sim/trace.h"

#include <cinttypes>
#include <cstdio>
#include <type_traits>

#include "settings/registry.h"

namespace ruvo::sim {

std::uint32_t GridHash(const Game& game)
{
    std::uint32_t hash = 0x811c9dc5u;
    const auto size = static_cast<std::size_t>(game.gridCols) * static_cast<std::size_t>(game.gridRows);
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= game.grid[i];
        hash *= 16777619u;
    }
    return hash;
}

namespace {

template <typename T> std::string Joined(const std::vector<T>& items)
{
    if (items.empty())
        return "-";
    std::string out;
    for (const T& item : items) {
        if (!out.empty())
            out += ',';
        if constexpr (std::is_same_v<T, std::string>)
            out += item;
        else
            out += std::to_string(item);
    }
    return out;
}

} // namespace

std::string TraceLine(std::uint64_t k, const GameRecord& record, const std::vector<int>& effects,
                      const std::vector<std::string>& music)
{
    return TraceLine(k, record.game, record.soundOn, record.musicOn, effects, music);
}

std::string TraceLine(std::uint64_t k, const Game& r, std::int32_t soundOn, std::int32_t musicOn,
                      const std::vector<int>& effects, const std::vector<std::string>& music)
{
    char head[512];
    std::snprintf(head, sizeof head,
                  "t=%" PRIu64 " st=%04x sc=%u rd=%u lv=%d rt=%u jr=%d jv=%d jl=%d arm=%d ba=%d bc=%d br=%d bdx=%d "
                  "bdy=%d bh=%d sx=%d gap=%d bt=%d ti=%d hu=%d ps=%d mt=%d so=%d mo=%d",
                  k, static_cast<unsigned>(r.state), r.score, r.round, r.lives, r.roundTicks, r.jumperRow, r.jumperVy,
                  r.jumperLook, r.stompArmed, r.bossActive, r.bossCol, r.bossRow, r.bossDx, r.bossDy, r.bossHits,
                  r.scrollX, r.gapRun, r.bannerTicks, r.tickInterval, r.hurryActive, r.paused, r.musicTrack, soundOn,
                  musicOn);
    char tail[64];
    std::snprintf(tail, sizeof tail, " grid=%08x seed=%08x", GridHash(r), r.program.seed);
    return std::string(head) + " fx=" + Joined(effects) + " mu=" + Joined(music) + tail;
}

std::vector<int> PlayedSince::Effects(const RecordingWavePlayer& wave, const GameRecord& record)
{
    std::vector<int> effects;
    for (; effectsSeen_ < wave.played.size(); ++effectsSeen_)
        for (int i = 0; i < 6; ++i)
            if (wave.played[effectsSeen_].image == record.waveData[static_cast<std::size_t>(i)])
                effects.push_back(i);
    return effects;
}

std::vector<std::string> PlayedSince::Music(const StandInMusic& music)
{
    std::vector<std::string> plays;
    for (; playsSeen_ < music.plays.size(); ++playsSeen_)
        plays.push_back(std::to_string(music.plays[playsSeen_].handle - 1) + ":" +
                        std::to_string(music.plays[playsSeen_].repeat));
    return plays;
}

std::string HighScoreLines(const GameRecord& record)
{
    const Game& r = record.game;
    std::string out;
    for (std::size_t k = 0; k < 5; ++k)
        out += "hs" + std::to_string(k + 1) + " score=" + std::to_string(r.hiScores[k]) +
               " round=" + std::to_string(r.hiRounds[k]) + " name=" + std::string(NameText(r.hiNames[k])) + "\n";
    return out;
}

} // namespace ruvo::sim
