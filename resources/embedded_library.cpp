// The resources built into the program, found by type and id.
// SPDX-License-Identifier: MIT
#include "resources/embedded.h"

namespace ruvo {

ResourceData EmbeddedResources::Find(std::string_view type, std::uint32_t id) const
{
    for (std::size_t i = 0; i < embedded::kResourceCount; ++i) {
        const embedded::EmbeddedResource& r = embedded::kResources[i];
        if (r.id == id && type == r.type)
            return {r.data, r.size};
    }
    return {};
}

} // namespace ruvo
