// The replay store on Windows: a folder of NAME.ruvo-replay files, by
// default %LOCALAPPDATA%\Tolp\Ruvo\Replays, made on the first write. Every
// path is handed to the wide calls, so a user name in any script works.
// Where the local application data folder cannot be found, the replays are
// kept in memory for the run, never in a folder of a guessed path.
// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "record/host.h"

namespace ruvo {

// Reads a replay file whole: a file on a disk (a pipe, a device or a console
// is refused before a byte is read) of at most kReplayMaxBytes, its size
// checked before reading. False with a one-line reason otherwise.
bool ReadReplayFile(const std::wstring& path, std::string& text, std::string& why);
// Writes a temporary file beside path and moves it over path: afterwards
// the file is the new text or, on any failure, the old one.
bool WriteWholeFile(const std::wstring& path, std::string_view text);

// The player's local application data folder, or empty when the system
// cannot say where it is.
std::wstring LocalAppDataFolder();

// What the player is told once when the replays are kept in memory only.
constexpr const char* kReplaysForThisRun =
    "Replays are kept for this run only: Windows did not say where your local application data folder is.";

class WinReplayStore final : public ReplayStore {
  public:
    // Tolp\Ruvo\Replays in the folder the lookup gives; in memory when it gives none.
    explicit WinReplayStore(std::wstring (*localAppData)() = LocalAppDataFolder);
    // Another folder (tests).
    explicit WinReplayStore(std::wstring folder);

    std::vector<std::string> List() override;
    bool Read(std::string_view name, std::string& text) override;
    bool Write(std::string_view name, std::string_view text) override;
    bool Remove(std::string_view name) override;

    // True when the replays live in memory, for this run only.
    bool InMemory() const { return folder_.empty(); }

  private:
    // Empty for a name the store does not take.
    std::wstring PathOf(std::string_view name) const;

    std::wstring folder_;
    std::map<std::string, std::string, std::less<>> memory_;
};

} // namespace ruvo
