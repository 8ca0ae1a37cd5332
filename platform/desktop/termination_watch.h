// SIGTERM, SIGINT and SIGHUP turned into a call on the Qt side: the game can
// then end as its close box ends it, saving its settings. A second signal
// ends the program at once, as if nothing were watching.
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace ruvo {

class TerminationWatch final {
  public:
    explicit TerminationWatch(std::function<void()> onSignal);
    ~TerminationWatch();
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

  private:
    std::function<void()> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace ruvo
