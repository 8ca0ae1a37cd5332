// The resources built into the executable: bitmaps, icons and sounds.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

#include "render/resources.h"

namespace ruvo::embedded {

struct EmbeddedResource {
    const char* type;
    std::uint32_t id;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedResource kResources[];
extern const std::size_t kResourceCount;

} // namespace ruvo::embedded

namespace ruvo {

// The executable's own resources, looked up by type and number.
class EmbeddedResources final : public ResourceLibrary {
  public:
    ResourceData Find(std::string_view type, std::uint32_t id) const override;
};

} // namespace ruvo
