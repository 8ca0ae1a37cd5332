// The settings in the browser's local storage.
// SPDX-License-Identifier: MIT
#include "platform/web/web_settings.h"

#include <string>

#include "platform/kit/stored_number.h"
#include "platform/web/web_imports.h"

namespace ruvo {
namespace {

// A stored value's text, or false when there is none.
bool ReadValue(std::string_view name, std::string& text)
{
    const auto nameLength = static_cast<std::int32_t>(name.size());
    const std::int32_t length = ruvo_settings_read(name.data(), nameLength, nullptr, 0);
    if (length < 0)
        return false;
    text.resize(static_cast<std::size_t>(length));
    return ruvo_settings_read(name.data(), nameLength, text.data(), length) == length;
}

} // namespace

bool WebSettingsStore::QueryDword(std::string_view name, std::uint32_t& value)
{
    std::string text;
    return ReadValue(name, text) && ParseStoredNumber(text, value);
}

bool WebSettingsStore::QueryString(std::string_view name, std::string& text, std::size_t maxBytes)
{
    std::string stored;
    if (!ReadValue(name, stored) || stored.size() > maxBytes)
        return false;
    text = std::move(stored);
    return true;
}

bool WebSettingsStore::Create()
{
    return ruvo_settings_writable() != 0;
}

void WebSettingsStore::SetDword(std::string_view name, std::uint32_t value)
{
    SetString(name, std::to_string(value));
}

void WebSettingsStore::SetString(std::string_view name, std::string_view text)
{
    ruvo_settings_write(name.data(), static_cast<std::int32_t>(name.size()), text.data(),
                        static_cast<std::int32_t>(text.size()));
}

void WebSettingsStore::Close()
{
    ruvo_settings_commit();
}

} // namespace ruvo
