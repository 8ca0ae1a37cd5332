// Text as Qt holds it while it reads a settings file: UTF-16, decoded from
// UTF-8 Qt's way. An escape such as \xd800 makes half a surrogate pair, which
// turns into '?' only when the text is written out as UTF-8.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace ruvo::sim {

using Utf16 = std::u16string;

// UTF-8 to UTF-16 as Qt decodes it: a malformed byte becomes U+FFFD. Qt
// decodes the pieces of a value between escapes with one decoder, which
// carries a character cut at a piece's end over to the next piece; when
// that piece does not finish it, one U+FFFD stands for it and the piece's
// first byte is lost. A cut character still open at the value's end is
// dropped, one at the end of a key stays as U+FFFD per byte (Flush). A
// byte-order mark as the first character decoded is dropped.
class Utf8Decoder {
  public:
    void Append(Utf16& out, std::string_view bytes);
    void Flush(Utf16& out);

  private:
    void Emit(Utf16& out, char32_t cp);

    std::string pending_;
    bool first_ = true;
};

// Decodes bytes on their own, as Qt's QString::fromUtf8 does.
void AppendUtf8(Utf16& out, std::string_view bytes);

// UTF-16 to UTF-8; half a surrogate pair becomes '?'.
std::string ToUtf8(const Utf16& text);

} // namespace ruvo::sim
