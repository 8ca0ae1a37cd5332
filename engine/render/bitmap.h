// Decoding of the uncompressed BMP images that the executable carries.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "render/surface.h"

namespace ruvo {

// Decodes a BMP file image (1, 4, 8, 24 or 32 bits per pixel, uncompressed,
// bottom-up or top-down) into a surface. Returns null for anything malformed
// or truncated; never reads past size bytes.
std::unique_ptr<Surface> DecodeBitmap(const std::uint8_t* data, std::size_t size);

// The size in bytes of the BMP file image at data, from its header; 0 if the
// header is not a BMP one.
std::size_t BitmapFileSize(const std::uint8_t* data, std::size_t size);

} // namespace ruvo
