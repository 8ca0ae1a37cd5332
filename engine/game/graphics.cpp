// Every bitmap of the game, loaded once as image and mask pairs, and the
// sound effects' WAVE images.
// SPDX-License-Identifier: MIT
#include "game/graphics.h"

#include "render/icon.h"

namespace ruvo {
namespace {

// Every pair of the game in its load order; freeing walks the same list.
template <typename Visit> void ForEachPair(Drawing& drawing, Visit visit)
{
    for (std::uint32_t i = 0; i < 4; ++i)
        visit(drawing.jumperSprites[i], 201 + 2 * i);
    for (std::uint32_t i = 0; i < 3; ++i)
        visit(drawing.sunSprites[i], 211 + 2 * i);
    visit(drawing.cloudSprite, 217);
    for (std::uint32_t t = 0; t < 10; ++t) {
        visit(drawing.platformSprites[t], 221 + 2 * t);
        visit(drawing.groundSprites[t], 251 + 2 * t);
        visit(drawing.bossSprites[t], 281 + 2 * t);
    }
    visit(drawing.bossTintSprite, 311);
}

} // namespace

int LoadSprites(Drawing& drawing, const ResourceLibrary* resources)
{
    drawing.resources = resources;
    ForEachPair(drawing, [&](SpritePair& pair, std::uint32_t id) { LoadSpritePair(resources, pair, id); });
    LoadIconPair(resources, drawing.smallIcon, kProgramIconGroup, 16);
    return 1;
}

int FreeSprites(Drawing& drawing)
{
    ForEachPair(drawing, [](SpritePair& pair, std::uint32_t) { FreeSpritePair(pair); });
    FreeSpritePair(drawing.smallIcon);
    return 1;
}

int LoadGraphics(GameRecord& record)
{
    LoadSprites(record.drawing, record.hInstance);
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
    FreeSprites(record.drawing);
    for (std::uint32_t i = 0; i < 6; ++i) {
        record.waveResources[i] = ResourceData{};
        record.waveData[i] = nullptr;
    }
    return 1;
}

} // namespace ruvo
