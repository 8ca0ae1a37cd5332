// The replay store on Windows: a folder of NAME.ruvo-replay files, by
// default %LOCALAPPDATA%\Tolp\Ruvo\Replays, made on the first write. Every
// path is handed to the wide calls, so a user name in any script works.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "record/host.h"

namespace ruvo {

// A whole file's bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string& text);
// Writes a temporary file beside path and moves it over path: afterwards
// the file is the new text or, on any failure, the old one.
bool WriteWholeFile(const std::wstring& path, std::string_view text);

class WinReplayStore final : public ReplayStore {
  public:
    // The player's local application data folder's Tolp\Ruvo\Replays.
    WinReplayStore();
    // Another folder (tests).
    explicit WinReplayStore(std::wstring folder);

    std::vector<std::string> List() override;
    bool Read(std::string_view name, std::string& text) override;
    bool Write(std::string_view name, std::string_view text) override;
    bool Remove(std::string_view name) override;

  private:
    // Empty for a name the store does not take.
    std::wstring PathOf(std::string_view name) const;

    std::wstring folder_;
};

} // namespace ruvo
