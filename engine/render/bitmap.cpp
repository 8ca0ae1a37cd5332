// Decoding of the uncompressed BMP images the program carries.
// SPDX-License-Identifier: MIT
#include "render/bitmap.h"

namespace ruvo {
namespace {

std::uint32_t Read16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
}
std::uint32_t Read32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

constexpr std::size_t kFileHeader = 14;

} // namespace

std::size_t BitmapFileSize(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < kFileHeader || data[0] != 'B' || data[1] != 'M')
        return 0;
    return Read32(data + 2);
}

std::unique_ptr<Surface> DecodeBitmap(const std::uint8_t* data, std::size_t size)
{
    if (BitmapFileSize(data, size) == 0 || size < kFileHeader + 40)
        return nullptr;
    const std::uint32_t pixelOffset = Read32(data + 10);
    const std::uint8_t* info = data + kFileHeader;
    const std::uint32_t infoSize = Read32(info);
    if (infoSize < 40 || kFileHeader + infoSize > size)
        return nullptr;
    const auto width = static_cast<std::int32_t>(Read32(info + 4));
    const auto rawHeight = static_cast<std::int32_t>(Read32(info + 8));
    const std::uint32_t bits = Read16(info + 14);
    const std::uint32_t compression = Read32(info + 16);
    std::uint32_t colours = Read32(info + 32);
    if (width <= 0 || width > 16384 || rawHeight == 0 || rawHeight < -16384 || rawHeight > 16384 || compression != 0)
        return nullptr;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return nullptr;
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;

    Pixel palette[256] = {};
    if (bits <= 8) {
        if (colours == 0 || colours > (1u << bits))
            colours = 1u << bits;
        const std::size_t paletteAt = kFileHeader + infoSize;
        if (paletteAt + 4u * colours > size)
            return nullptr;
        for (std::uint32_t i = 0; i < colours; ++i) {
            const std::uint8_t* q = data + paletteAt + 4u * i;
            palette[i] = (static_cast<Pixel>(q[2]) << 16) | (static_cast<Pixel>(q[1]) << 8) | q[0];
        }
    }

    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    if (pixelOffset > size || stride * static_cast<std::size_t>(height) > size - pixelOffset)
        return nullptr;

    auto surface = std::make_unique<Surface>(width, height);
    for (std::int32_t row = 0; row < height; ++row) {
        const std::uint8_t* line = data + pixelOffset + stride * static_cast<std::size_t>(row);
        const std::int32_t y = topDown ? row : height - 1 - row;
        Pixel* out = surface->Row(y);
        for (std::int32_t x = 0; x < width; ++x) {
            switch (bits) {
            case 1:
                out[x] = palette[(line[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                out[x] = palette[(line[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
                break;
            case 8:
                out[x] = palette[line[x]];
                break;
            default: {
                const std::uint8_t* q = line + static_cast<std::size_t>(x) * (bits / 8);
                out[x] = (static_cast<Pixel>(q[2]) << 16) | (static_cast<Pixel>(q[1]) << 8) | q[0];
            }
            }
        }
    }
    return surface;
}

} // namespace ruvo
