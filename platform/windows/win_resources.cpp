// The program's resources as the executable holds them.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_resources.h"

#include <windows.h>

#include <cstring>

#include "platform/windows/wide_text.h"

namespace ruvo {
namespace {

ResourceData Locate(const wchar_t* type, std::uint32_t id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == nullptr)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

std::uint32_t Read32(const std::uint8_t* p)
{
    std::uint32_t value = 0;
    std::memcpy(&value, p, 4);
    return value;
}

void Put32(std::uint8_t* p, std::uint32_t value)
{
    std::memcpy(p, &value, 4);
}

// A BMP file image: the 14-byte file header in front of the bitmap's header,
// palette and pixels; empty when the resource is not a bitmap we can read.
std::vector<std::uint8_t> BitmapFile(const ResourceData& dib)
{
    if (dib.data == nullptr || dib.size < 40)
        return {};
    const std::uint32_t headerSize = Read32(dib.data);
    const std::uint32_t bits = static_cast<std::uint32_t>(dib.data[14] | (dib.data[15] << 8));
    std::uint32_t colours = Read32(dib.data + 32);
    if (headerSize < 40 || headerSize > dib.size)
        return {};
    if (bits <= 8 && (colours == 0 || colours > (1u << bits)))
        colours = 1u << bits;
    if (bits > 8)
        colours = 0;
    std::vector<std::uint8_t> file(14 + dib.size);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file.data() + 2, static_cast<std::uint32_t>(file.size()));
    Put32(file.data() + 10, 14 + headerSize + 4 * colours);
    std::memcpy(file.data() + 14, dib.data, dib.size);
    return file;
}

} // namespace

ResourceData Win32Resources::Find(std::string_view type, std::uint32_t id) const
{
    if (type == "BITMAP") {
        auto it = bitmapFiles_.find(id);
        if (it == bitmapFiles_.end())
            it = bitmapFiles_.emplace(id, BitmapFile(Locate(MAKEINTRESOURCEW(2), id))).first; // RT_BITMAP
        if (it->second.empty())
            return {};
        return {it->second.data(), it->second.size()};
    }
    return Locate(Widen(type).c_str(), id);
}

} // namespace ruvo
