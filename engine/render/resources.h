// Resources built into the executable, addressed by type and number: the
// bitmaps and icons drawn here, the sounds played elsewhere.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ruvo {

struct ResourceData {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

class ResourceLibrary {
  public:
    virtual ~ResourceLibrary() = default;
    // type: "BITMAP", "WAVE", "ICON16", "ICON32". A missing resource has no data.
    virtual ResourceData Find(std::string_view type, std::uint32_t id) const = 0;
};

} // namespace ruvo
