// The settings store on the registry: the values of the key
// HKEY_CURRENT_USER\SOFTWARE\Tolp\Ruvo, read and written with the wide calls.
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/kit/view_choice.h"
#include "record/host.h"

namespace ruvo {

constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\Tolp\\Ruvo";

class RegistrySettingsStore final : public SettingsStore {
  public:
    // The game's own key, or another under HKEY_CURRENT_USER (tests).
    explicit RegistrySettingsStore(std::wstring keyPath = kSettingsKey) : keyPath_(std::move(keyPath)) {}
    ~RegistrySettingsStore() override;
    RegistrySettingsStore(const RegistrySettingsStore&) = delete;
    RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;

    // A number is a REG_DWORD of four bytes; anything else reads as missing.
    bool QueryDword(std::string_view name, std::uint32_t& value) override;
    // A string is a REG_SZ, up to its first zero; longer than maxBytes in
    // UTF-8, or of another type, it reads as missing.
    bool QueryString(std::string_view name, std::string& text, std::size_t maxBytes) override;
    // Creates or opens the key for the writes that follow, up to Close. Reads
    // in between see the key as it stands, the writes made so far included.
    bool Create() override;
    void SetDword(std::string_view name, std::uint32_t value) override;
    void SetString(std::string_view name, std::string_view text) override;
    void Close() override;

    // The window's view choice, written with the game's values at every save.
    void KeepViewChoice(const ViewChoice& choice) { view_ = choice; }

  private:
    std::wstring keyPath_;
    // The key open for writing, or null.
    void* writing_ = nullptr;
    std::optional<ViewChoice> view_;
};

} // namespace ruvo
