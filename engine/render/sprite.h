// Sprite pairs: a picture on black and its mask (black where opaque, white
// where transparent), loaded from two consecutive bitmap resources.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>

#include "render/resources.h"
#include "render/surface.h"

namespace ruvo {

struct SpritePair {
    std::unique_ptr<Surface> image;
    std::unique_ptr<Surface> mask;
};

// The image is bitmap id, the mask id + 1; a missing or broken bitmap leaves its half empty.
int LoadSpritePair(const ResourceLibrary* module, SpritePair& pair, std::uint32_t id);
int FreeSpritePair(SpritePair& pair);

} // namespace ruvo
