// The program's icons, decoded from their groups.
// SPDX-License-Identifier: MIT
#include "render/icon.h"

#include "render/bitmap.h"

namespace ruvo {

int LoadIconPair(const ResourceLibrary* module, SpritePair& pair, std::uint32_t group, std::int32_t size)
{
    pair.image.reset();
    pair.mask.reset();
    if (module == nullptr)
        return 0;
    // An icon resource holds two BMP images back to back: the picture, then its mask.
    const ResourceData block = module->Find(size == 16 ? "ICON16" : "ICON32", group);
    const std::size_t first = BitmapFileSize(block.data, block.size);
    if (first == 0 || first >= block.size)
        return 0;
    pair.image = DecodeBitmap(block.data, first);
    pair.mask = DecodeBitmap(block.data + first, block.size - first);
    return pair.image && pair.mask ? 1 : 0;
}

void DrawIcon(DrawContext& target, const SpritePair& icon, std::int32_t x, std::int32_t y, std::int32_t size)
{
    if (target.bitmap == nullptr || !icon.image || !icon.mask)
        return;
    BlockTransfer(*target.bitmap, x, y, size, size, icon.mask.get(), 0, 0, RasterOp::SrcAnd);
    BlockTransfer(*target.bitmap, x, y, size, size, icon.image.get(), 0, 0, RasterOp::SrcInvert);
}

} // namespace ruvo
