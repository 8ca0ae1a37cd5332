// JSON strings and HTML text escaped.
// SPDX-License-Identifier: MIT
#include "services/board/json_text.h"

#include <cstdio>

namespace ruvo::board {

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (byte < 0x20 || ch == '<' || ch == '>' || ch == '&' || byte == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out + '"';
}

std::string HtmlText(std::string_view text)
{
    std::string out;
    for (const char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

namespace {

// The length of the UTF-8 sequence at text's start, or 0 where none is.
std::size_t SequenceAt(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xc2 && lead <= 0xdf   ? 2
                               : lead >= 0xe0 && lead <= 0xef ? 3
                               : lead >= 0xf0 && lead <= 0xf4 ? 4
                                                              : 0;
    if (length == 0 || text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xc0) != 0x80)
            return 0;
    // No overlong form, surrogate or code point past U+10FFFF.
    if ((lead == 0xe0 && byte(1) < 0xa0) || (lead == 0xed && byte(1) > 0x9f) || (lead == 0xf0 && byte(1) < 0x90) ||
        (lead == 0xf4 && byte(1) > 0x8f))
        return 0;
    return length;
}

} // namespace

bool IsUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceAt(text.substr(at));
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string ShownName(std::string_view name)
{
    std::string out;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = SequenceAt(name.substr(at));
        out += length == 0 ? std::string_view("?") : name.substr(at, length);
        at += length == 0 ? 1 : length;
    }
    return out;
}

} // namespace ruvo::board
