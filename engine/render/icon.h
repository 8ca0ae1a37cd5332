// The program's icons: icon group 501 at 32 x 32 (the window's) and 16 x 16
// (the small one, also drawn once per life in the status line).
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "render/draw_context.h"
#include "render/resources.h"
#include "render/sprite.h"

namespace ruvo {

// The icon groups among the resources: the program's own, and a second one
// that the resources carry but no routine of the game draws.
constexpr std::uint16_t kProgramIconGroup = 501;
constexpr std::uint16_t kSpareIconGroup = 502;

struct ProgramIcons {
    SpritePair largeIcon;
    SpritePair smallIcon;
};

// Loads one size of an icon group: the image and its mask.
int LoadIconPair(const ResourceLibrary* module, SpritePair& pair, std::uint32_t group, std::int32_t size);

// Draws an icon with its mask, as a masked sprite.
void DrawIcon(DrawContext& target, const SpritePair& icon, std::int32_t x, std::int32_t y, std::int32_t size);

} // namespace ruvo
