// Text as UTF-16, as the settings file's reader holds it.
// SPDX-License-Identifier: MIT
#include "sim/utf16.h"

#include <algorithm>
#include <cstdint>

namespace ruvo::sim {
namespace {

void AppendCodePoint(Utf16& out, char32_t cp)
{
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

std::size_t SequenceLength(std::uint8_t lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool IsContinuation(char byte)
{
    return (static_cast<std::uint8_t>(byte) & 0xC0) == 0x80;
}

// Decodes one whole UTF-8 sequence; false when it is malformed.
bool DecodeSequence(std::string_view bytes, char32_t& cp)
{
    static constexpr char32_t kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    const std::size_t length = SequenceLength(static_cast<std::uint8_t>(bytes[0]));
    if (length == 0 || bytes.size() != length)
        return false;
    cp = static_cast<std::uint8_t>(bytes[0]) & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k) {
        if (!IsContinuation(bytes[k]))
            return false;
        cp = (cp << 6) | (static_cast<std::uint8_t>(bytes[k]) & 0x3Fu);
    }
    return cp >= kLeast[length] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

} // namespace

void Utf8Decoder::Append(Utf16& out, std::string_view bytes)
{
    std::size_t i = 0;
    if (!pending_.empty() && !bytes.empty()) {
        const std::size_t need = SequenceLength(static_cast<std::uint8_t>(pending_[0])) - pending_.size();
        const std::size_t take = std::min(need, bytes.size());
        const std::string joined = pending_ + std::string(bytes.substr(0, take));
        char32_t cp = 0;
        bool allContinuations = true;
        for (std::size_t k = 0; k < take; ++k)
            allContinuations = allContinuations && IsContinuation(bytes[k]);
        if (take < need && allContinuations) {
            pending_ = joined;
            return;
        }
        pending_.clear();
        if (take == need && DecodeSequence(joined, cp)) {
            Emit(out, cp);
            i = take;
        } else {
            Emit(out, 0xFFFD);
            i = 1;
        }
    }
    while (i < bytes.size()) {
        const std::size_t length = SequenceLength(static_cast<std::uint8_t>(bytes[i]));
        char32_t cp = 0;
        if (length > 1 && i + length > bytes.size()) {
            bool cut = true;
            for (std::size_t k = i + 1; k < bytes.size(); ++k)
                cut = cut && IsContinuation(bytes[k]);
            if (cut) {
                pending_ = bytes.substr(i);
                return;
            }
        }
        if (length != 0 && i + length <= bytes.size() && DecodeSequence(bytes.substr(i, length), cp)) {
            Emit(out, cp);
            i += length;
        } else {
            Emit(out, 0xFFFD);
            ++i;
        }
    }
}

void Utf8Decoder::Flush(Utf16& out)
{
    for (std::size_t k = 0; k < pending_.size(); ++k)
        Emit(out, 0xFFFD);
    pending_.clear();
}

void Utf8Decoder::Emit(Utf16& out, char32_t cp)
{
    if (!(first_ && cp == 0xFEFF))
        AppendCodePoint(out, cp);
    first_ = false;
}

void AppendUtf8(Utf16& out, std::string_view bytes)
{
    Utf8Decoder decoder;
    decoder.Append(out, bytes);
    decoder.Flush(out);
}

std::string ToUtf8(const Utf16& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            out += '?';
            continue;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace ruvo::sim
