// The replay store in a folder: each replay a NAME.ruvo-replay file, in the
// game's application data folder ($XDG_DATA_HOME/Tolp/Ruvo/replays/ on Linux)
// unless another folder is given. Several windows of the game share it.
// Reading is bounded (platform/desktop/replay_reading.h).
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <set>
#include <string>

#include "record/host.h"

namespace ruvo {

class QtReplayStore final : public ReplayStore {
  public:
    QtReplayStore();                               // the user's folder
    explicit QtReplayStore(const QString& folder); // a given folder (tests)

    std::vector<std::string> List() override;
    bool Read(std::string_view name, std::string& text) override;
    // Whole or not at all: the text goes to a file of its own, which then
    // takes the old one's place.
    bool Write(std::string_view name, std::string_view text) override;
    // A replay that cannot be removed (a folder that cannot be written) is
    // still not listed or read by this store again, until it is written anew:
    // no list shows an older game as the last one.
    bool Remove(std::string_view name) override;

  private:
    // The file of a name; empty for a name the engine would not give.
    QString PathOf(std::string_view name) const;

    QString folder_;
    std::set<std::string, std::less<>> removed_; // names whose files stayed
};

} // namespace ruvo
