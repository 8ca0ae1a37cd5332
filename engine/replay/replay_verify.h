// A replay verified: its game played again without a machine or a drawing,
// and what it came to compared with what the file says. Each verification is
// a game of its own: several may run at once, on threads of their own.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "record/replay_state.h"

namespace ruvo {

// What the replayed game came to, beside what the file says: "verified
// score=S round=R ticks=T" when they agree, else the first difference.
struct Verdict {
    bool verified = false;
    std::string line;
    // The least time the game takes at its own pace, in milliseconds: the
    // period each of its ticks waits for, summed. A game sent sooner after
    // its start was given than this was not played in real time.
    std::uint64_t playedMs = 0;
};
Verdict VerifyReplay(Replay replay);

} // namespace ruvo
