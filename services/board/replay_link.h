// A replay packed for the page's address, as the page's own links pack it:
// raw deflate in base64url, after "#replay=" or "#race=".
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace ruvo::board {

std::string PackedReplay(std::string_view text);

} // namespace ruvo::board
