// Texts the board writes for others to read: JSON strings and HTML text,
// escaped so that a player's name is only ever a name.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace ruvo::board {

// A JSON string with its quotes: controls, quotes, backslashes, and the
// characters that would end a script or a comment in a page as \u escapes.
std::string JsonString(std::string_view text);
// Text for an HTML element or a quoted attribute.
std::string HtmlText(std::string_view text);
// Whether text is well-formed UTF-8.
bool IsUtf8(std::string_view text);
// A name as the board shows it: a byte that is not UTF-8 as "?".
std::string ShownName(std::string_view name);

} // namespace ruvo::board
