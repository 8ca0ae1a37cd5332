// A plain PNG writer for the runner's frames: 8-bit RGB, no filtering, the
// image data in stored (uncompressed) deflate blocks. Frames are small and
// written now and then, so size does not matter; needing no library does.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ruvo::sim {

// pixels: width x height values 0x00RRGGBB, row by row.
std::vector<std::uint8_t> EncodePng(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& pixels);

// Writes the PNG file; false when the file cannot be written.
bool WritePng(const std::string& path, std::int32_t width, std::int32_t height,
              const std::vector<std::uint32_t>& pixels);

} // namespace ruvo::sim
