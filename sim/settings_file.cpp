// The game's settings file on Linux, read as the game reads it.
// SPDX-License-Identifier: MIT
#include "sim/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "sim/sim_options.h"
#include "sim/utf16.h"

namespace ruvo::sim {
namespace {

// Lines start after blanks and line breaks; keys are trimmed of any white space.
bool IsLineSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}
bool IsSpace(char ch)
{
    return IsLineSpace(ch) || ch == '\v' || ch == '\f';
}

int HexValue(char16_t ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// One logical line from pos on: a line break inside quotes, or escaped by a
// backslash, continues it; ';' outside quotes ends it (the rest is a comment),
// and a line that starts with ';' is skipped whole.
struct Line {
    std::size_t start = 0;
    std::size_t length = 0;
    std::size_t equals = std::string_view::npos; // the first '=' outside quotes
};

bool NextLine(std::string_view data, std::size_t& pos, Line& line)
{
    bool inQuotes = false;
    line.equals = std::string_view::npos;
    line.start = pos;
    while (line.start < data.size() && IsLineSpace(data[line.start]))
        ++line.start;
    std::size_t i = line.start;
    while (i < data.size()) {
        const char ch = data[i++];
        if (ch == '=') {
            if (!inQuotes && line.equals == std::string_view::npos)
                line.equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            if (i < data.size()) {
                const char escaped = data[i++];
                if (i < data.size()) {
                    const char after = data[i];
                    if ((escaped == '\n' && after == '\r') || (escaped == '\r' && after == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (i == line.start + 1) {
                while (i < data.size() && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < data.size() && IsLineSpace(data[i]))
                    ++i;
                line.start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line.length = i - line.start;
    return line.length > 0;
}

// A key: '\' stands for '/', %XX and %UXXXX for the character with that code.
Utf16 UnescapedKey(std::string_view bytes)
{
    Utf16 decoded;
    AppendUtf8(decoded, bytes);
    Utf16 key;
    std::size_t i = 0;
    while (i < decoded.size()) {
        const char16_t ch = decoded[i];
        if (ch == u'\\') {
            key += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i + 1 == decoded.size()) {
            key += ch;
            ++i;
            continue;
        }
        std::size_t first = i + 1;
        std::size_t digits = 2;
        if (decoded[first] == u'U')
            ++first, digits = 4;
        std::uint32_t code = 0;
        bool good = first + digits <= decoded.size();
        for (std::size_t k = 0; good && k < digits; ++k) {
            const int digit = HexValue(decoded[first + k]);
            good = digit >= 0;
            code = code * 16 + static_cast<std::uint32_t>(digit);
        }
        if (!good) {
            key += u'%';
            ++i;
            continue;
        }
        key += static_cast<char16_t>(code);
        i = first + digits;
    }
    return key;
}

void ChopTrailingSpaces(Utf16& text, std::size_t limit)
{
    while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t'))
        text.pop_back();
}

// A value: quotes keep spaces and commas, backslash escapes as in C (\x and
// octal to 16 bits), and commas outside quotes make a list. Returns whether
// the value is a list; its items are not needed.
bool UnescapedValue(std::string_view bytes, Utf16& text)
{
    static constexpr char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                           {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    Utf8Decoder decoder;
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    std::size_t i = 0;
    const auto skipSpaces = [&] {
        while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t'))
            ++i;
    };
    skipSpaces();
    std::size_t chopLimit = text.size();
    while (i < bytes.size()) {
        const char ch = bytes[i];
        if (ch == '\\') {
            if (++i >= bytes.size())
                return isList; // a lone backslash at the end: nothing is chopped
            const char code = bytes[i++];
            bool known = false;
            for (const auto& escape : kEscapes)
                if (code == escape[0]) {
                    text += static_cast<char16_t>(escape[1]);
                    known = true;
                    break;
                }
            if (!known && code == 'x') {
                if (i >= bytes.size())
                    return isList;
                if (HexValue(static_cast<char16_t>(bytes[i])) >= 0) {
                    char16_t value = 0;
                    while (i < bytes.size() && HexValue(static_cast<char16_t>(bytes[i])) >= 0)
                        value = static_cast<char16_t>(value * 16 + HexValue(static_cast<char16_t>(bytes[i++])));
                    text += value;
                    if (i >= bytes.size())
                        return isList;
                }
            } else if (!known && code >= '0' && code <= '7') {
                auto value = static_cast<char16_t>(code - '0');
                while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '7')
                    value = static_cast<char16_t>(value * 8 + (bytes[i++] - '0'));
                text += value;
                if (i >= bytes.size())
                    return isList;
            } else if (!known && (code == '\n' || code == '\r')) {
                // An escaped line break continues the value on the next line.
                if (i < bytes.size() && (bytes[i] == '\n' || bytes[i] == '\r') && bytes[i] != code)
                    ++i;
            }
            // Any other escaped character is dropped.
            chopLimit = text.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipSpaces();
                chopLimit = text.size();
            }
        } else if (ch == ',' && !inQuotes) {
            if (!quoted)
                ChopTrailingSpaces(text, chopLimit);
            isList = true;
            text.clear();
            quoted = false;
            ++i;
            skipSpaces();
            chopLimit = 0;
        } else {
            std::size_t j = i + 1;
            while (j < bytes.size() && bytes[j] != '\\' && bytes[j] != '"' && bytes[j] != ',')
                ++j;
            decoder.Append(text, bytes.substr(i, j - i));
            i = j;
        }
    }
    if (!quoted)
        ChopTrailingSpaces(text, chopLimit);
    return isList;
}

bool StartsWith(const Utf16& text, std::u16string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The number of arguments in "(a b c)": every space and every ')' ends one,
// empty ones included, as Qt counts them.
std::size_t CountArguments(std::u16string_view args)
{
    std::size_t count = 0;
    for (const char16_t ch : args)
        count += ch == u' ' || ch == u')';
    return count;
}

// The text of a value that may name its type: @String(...), @ByteArray(...),
// @Invalid(), geometry and serialised values (not text), and @@ for a
// leading @.
Utf16 TypedValueText(const Utf16& text)
{
    if (!StartsWith(text, u"@"))
        return text;
    if (text.back() == u')') {
        const auto inner = [&](std::size_t prefix) { return text.substr(prefix, text.size() - prefix - 1); };
        if (StartsWith(text, u"@ByteArray(")) {
            // The bytes are the characters' low bytes, read back as UTF-8.
            std::string bytes;
            for (const char16_t ch : inner(11))
                bytes += static_cast<char>(ch > 0xFF ? '?' : ch);
            Utf16 decoded;
            AppendUtf8(decoded, bytes);
            return decoded;
        }
        if (StartsWith(text, u"@String("))
            return inner(8);
        if (StartsWith(text, u"@Variant(") || StartsWith(text, u"@DateTime(") || text == u"@Invalid()")
            return {};
        const std::u16string_view view = text;
        if ((StartsWith(text, u"@Rect(") && CountArguments(view.substr(6)) == 4) ||
            (StartsWith(text, u"@Size(") && CountArguments(view.substr(6)) == 2) ||
            (StartsWith(text, u"@Point(") && CountArguments(view.substr(7)) == 2))
            return {};
    }
    if (StartsWith(text, u"@@"))
        return text.substr(1);
    return text;
}

bool IsGeneral(std::string_view section, std::string_view name)
{
    section = section.substr(0, section.find('\0'));
    if (section.size() != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char ch = section[i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != name[i])
            return false;
    }
    return true;
}

} // namespace

SettingsValues ParseSettingsText(std::string_view data)
{
    SettingsValues values;
    std::size_t pos = data.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    Utf16 section;
    Line line;
    while (NextLine(data, pos, line)) {
        const std::string_view text = data.substr(line.start, line.length);
        if (text.front() == '[') {
            const std::size_t close = text.find(']');
            const std::string_view name =
                Trimmed(close == std::string_view::npos ? text.substr(1) : text.substr(1, close - 1));
            if (IsGeneral(name, "general")) {
                section.clear();
            } else {
                // [%General] is a section of that name, spelt as written.
                section.clear();
                if (IsGeneral(name, "%general"))
                    for (const char ch : name.substr(1))
                        section += static_cast<unsigned char>(ch);
                else
                    section = UnescapedKey(name);
                section += u'/';
            }
            continue;
        }
        if (line.equals == std::string_view::npos)
            continue;
        const Utf16 key = section + UnescapedKey(Trimmed(data.substr(line.start, line.equals - line.start)));
        Utf16 value;
        const bool isList =
            UnescapedValue(data.substr(line.equals + 1, line.start + line.length - line.equals - 1), value);
        values[ToUtf8(key)] = isList ? std::string() : ToUtf8(TypedValueText(value));
    }
    return values;
}

SettingsValues ReadSettingsFile(const std::string& path)
{
    std::string content, why;
    if (!ReadFileWithin(path, kSettingsMaxBytes, content, why))
        return {};
    return ParseSettingsText(content);
}

} // namespace ruvo::sim
