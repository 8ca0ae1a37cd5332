// The drawing primitives of the game: sky on the stage, the frame composed
// from the stage, masked sprites and white silhouettes, and the repaint.
#pragma once

#include <cstdint>

#include "game/record.h"

namespace ruvo {

constexpr std::uint32_t kSkyColorRef = 0x00FFFF00; // aqua

int FillSky(GameRecord& record, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
int ComposeFrame(GameRecord& record, std::int32_t sourceX, std::int32_t sourceY);
int DrawSprite(GameRecord& record, DrawContext& target, SpritePair& pair, std::int32_t x, std::int32_t y,
               std::int32_t size);
int DrawSilhouette(GameRecord& record, DrawContext& target, SpritePair& pair, std::int32_t x, std::int32_t y,
                   std::int32_t size);
int PaintWindow(GameRecord& record, PaintTarget& paint);

} // namespace ruvo
