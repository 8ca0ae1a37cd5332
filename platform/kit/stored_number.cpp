// A number read from a settings store that keeps text.
// SPDX-License-Identifier: MIT
#include "platform/kit/stored_number.h"

#include <limits>

namespace ruvo {

bool ParseStoredNumber(std::string_view text, std::uint32_t& value)
{
    // Ten digits hold every 32-bit number; more cannot be one.
    if (text.empty() || text.size() > 10)
        return false;
    std::uint64_t number = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        number = number * 10 + static_cast<std::uint64_t>(ch - '0');
    }
    if (number > std::numeric_limits<std::uint32_t>::max())
        return false;
    value = static_cast<std::uint32_t>(number);
    return true;
}

} // namespace ruvo
