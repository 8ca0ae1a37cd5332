// A number in a settings store that keeps text (a settings file, the
// browser's local storage, the in-memory store): plain unsigned decimal
// within 32 bits, as the game writes it (std::to_string). Anything else in
// the store was put there by hand or by damage, and reads as missing.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

namespace ruvo {

bool ParseStoredNumber(std::string_view text, std::uint32_t& value);

} // namespace ruvo
