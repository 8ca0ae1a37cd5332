// The engine speaks UTF-8; the Win32 calls we make are the wide (UTF-16) ones.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace ruvo {

// Malformed UTF-8 becomes U+FFFD; unpaired surrogates on the way back too.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

} // namespace ruvo
