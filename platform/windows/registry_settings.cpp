// The settings store on the registry.
// SPDX-License-Identifier: MIT
#include "platform/windows/registry_settings.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/windows/wide_text.h"

namespace ruvo {
namespace {

// Reads one value, of any type, into data; false when the key or value is
// missing or cannot be read.
bool ReadValue(const std::wstring& path, HKEY open, std::string_view name, DWORD& type, std::vector<BYTE>& data)
{
    HKEY key = open;
    if (key == nullptr && RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const std::wstring valueName = Widen(name);
    LONG result = ERROR_MORE_DATA;
    // A value may change size between the two calls (another instance saving).
    for (int attempt = 0; attempt < 4 && result == ERROR_MORE_DATA; ++attempt) {
        DWORD size = 0;
        result = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS)
            break;
        data.assign(size, 0);
        result = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size);
        if (result == ERROR_SUCCESS)
            data.resize(size);
    }
    if (key != open)
        RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace

RegistrySettingsStore::~RegistrySettingsStore()
{
    if (writing_ != nullptr)
        RegCloseKey(static_cast<HKEY>(writing_));
}

bool RegistrySettingsStore::QueryDword(std::string_view name, std::uint32_t& value)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(keyPath_, static_cast<HKEY>(writing_), name, type, data) || type != REG_DWORD || data.size() != 4)
        return false;
    value = static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
            (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    return true;
}

bool RegistrySettingsStore::QueryString(std::string_view name, std::string& text, std::size_t maxBytes)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(keyPath_, static_cast<HKEY>(writing_), name, type, data) || type != REG_SZ)
        return false;
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
    // The string is what stands before its terminating zero; one stored
    // without it ends with its data.
    const std::size_t end = wide.find(L'\0');
    if (end != std::wstring::npos)
        wide.resize(end);
    std::string utf8 = Narrow(wide);
    if (utf8.size() > maxBytes)
        return false;
    text = std::move(utf8);
    return true;
}

bool RegistrySettingsStore::Create()
{
    if (writing_ != nullptr)
        return true;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    writing_ = key;
    return true;
}

void RegistrySettingsStore::SetDword(std::string_view name, std::uint32_t value)
{
    if (writing_ == nullptr)
        return;
    const DWORD data = value;
    RegSetValueExW(static_cast<HKEY>(writing_), Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof data);
}

void RegistrySettingsStore::SetString(std::string_view name, std::string_view text)
{
    if (writing_ == nullptr)
        return;
    const std::wstring wide = Widen(text);
    // The byte count takes in the terminating zero.
    RegSetValueExW(static_cast<HKEY>(writing_), Widen(name).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

void RegistrySettingsStore::Close()
{
    if (writing_ == nullptr)
        return;
    if (view_)
        WriteViewChoice(*this, *view_);
    // The values reach the disk when the system sees fit; a flush per save
    // would only slow the game's exit.
    RegCloseKey(static_cast<HKEY>(writing_));
    writing_ = nullptr;
}

} // namespace ruvo
