// The settings in the browser's local storage, one entry per value
// ("Ruvo/Sound", "Ruvo/Score1", ...): numbers as decimal text, names as text.
// Every query reads local storage as it stands (another tab may have stored
// since); the writes are kept until Close stores them.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/host.h"

namespace ruvo {

class WebSettingsStore final : public SettingsStore {
  public:
    bool QueryDword(std::string_view name, std::uint32_t& value) override;
    bool QueryString(std::string_view name, std::string& text, std::size_t maxBytes) override;
    bool Create() override;
    void SetDword(std::string_view name, std::uint32_t value) override;
    void SetString(std::string_view name, std::string_view text) override;
    void Close() override;
};

} // namespace ruvo
