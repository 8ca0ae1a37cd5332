// Sprite pairs drawn through their masks.
// SPDX-License-Identifier: MIT
#include "render/sprite.h"

#include "render/bitmap.h"

namespace ruvo {
namespace {

std::unique_ptr<Surface> LoadBitmapResource(const ResourceLibrary* module, std::uint32_t id)
{
    if (module == nullptr)
        return nullptr;
    const ResourceData block = module->Find("BITMAP", id);
    return DecodeBitmap(block.data, block.size);
}

} // namespace

int LoadSpritePair(const ResourceLibrary* module, SpritePair& pair, std::uint32_t id)
{
    pair.image = LoadBitmapResource(module, id);
    pair.mask = LoadBitmapResource(module, id + 1);
    return 1;
}

int FreeSpritePair(SpritePair& pair)
{
    pair.image.reset();
    pair.mask.reset();
    return 1;
}

} // namespace ruvo
