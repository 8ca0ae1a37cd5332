// Every bitmap of the game, loaded once as image and mask pairs.
// SPDX-License-Identifier: MIT
#include "game/graphics.h"

namespace ruvo {
namespace {

// Every pair of the game in its load order; freeing walks the same list.
template <typename Visit> void ForEachPair(GameRecord& record, Visit visit)
{
    for (std::uint32_t i = 0; i < 4; ++i)
        visit(record.jumperSprites[i], 201 + 2 * i);
    for (std::uint32_t i = 0; i < 3; ++i)
        visit(record.sunSprites[i], 211 + 2 * i);
    visit(record.cloudSprite, 217);
    for (std::uint32_t t = 0; t < 10; ++t) {
        visit(record.platformSprites[t], 221 + 2 * t);
        visit(record.groundSprites[t], 251 + 2 * t);
        visit(record.bossSprites[t], 281 + 2 * t);
    }
    visit(record.bossTintSprite, 311);
}

} // namespace

int LoadGraphics(GameRecord& record)
{
    ForEachPair(record, [&](SpritePair& pair, std::uint32_t id) { LoadSpritePair(record.hInstance, pair, id); });
    for (std::uint32_t i = 0; i < 6; ++i) {
        record.waveResources[i] = record.hInstance ? record.hInstance->Find("WAVE", 601 + i) : ResourceData{};
        record.waveData[i] = record.waveResources[i].data;
        if (record.host.wave != nullptr && record.waveData[i] != nullptr)
            record.host.wave->Prepare(record.waveData[i], record.waveResources[i].size);
    }
    return 1;
}

int FreeGraphics(GameRecord& record)
{
    ForEachPair(record, [](SpritePair& pair, std::uint32_t) { FreeSpritePair(pair); });
    for (std::uint32_t i = 0; i < 6; ++i) {
        record.waveResources[i] = ResourceData{};
        record.waveData[i] = nullptr;
    }
    return 1;
}

} // namespace ruvo
