// Where the game's data files are found: next to the executable first, then
// in the installed data folder (../share/ruvo relative to the executable).
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace ruvo {

// The full path of the first existing candidate, or empty when there is none.
std::string FindDataFile(std::string_view fileName);

} // namespace ruvo
