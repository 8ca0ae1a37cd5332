// The settings store on QSettings ("Tolp", "Ruvo"): ~/.config/Tolp/Ruvo.conf
// on Linux, read only once it is known to be a file the game could have written.
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>
#include <string>

#include "platform/kit/view_choice.h"
#include "record/host.h"

namespace ruvo {

// The most a settings file may hold: the game's own is under 1 KiB.
constexpr qint64 kSettingsMaxBytes = 64 * 1024;
// Where QSettings keeps the user's settings of "Tolp", "Ruvo" in its native format.
QString UserSettingsPath();

class QtSettingsStore final : public SettingsStore {
  public:
    QtSettingsStore();                                    // the user's store, in the native format
    explicit QtSettingsStore(const std::string& iniPath); // a given INI file (tests, tools)
    ~QtSettingsStore() override;

    bool QueryDword(std::string_view name, std::uint32_t& value) override;
    bool QueryString(std::string_view name, std::string& text, std::size_t maxBytes) override;
    // QSettings serves a copy it read before: sync() writes what this window
    // has set and not yet written, and reads the file anew.
    void Refresh() override;
    bool Create() override;
    void SetDword(std::string_view name, std::uint32_t value) override;
    void SetString(std::string_view name, std::string_view text) override;
    void Close() override;

    // The window's view choice, written with the game's values at every save.
    void KeepViewChoice(const ViewChoice& choice);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace ruvo
