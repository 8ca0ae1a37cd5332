// Games on threads of their own: the same replays played one after another
// and then all at once, each on a thread, tick for tick alike. The test is
// also built under ThreadSanitizer (build-tsan), where two games that shared
// anything writable would be reported.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "replay/replay_file.h"
#include "replay/replay_play.h"
#include "replay/replay_verify.h"
#include "sim/trace.h"
#include "support/game_run.h"

namespace ruvo {
namespace {

// The replay played to its end: a trace line a tick, and the verdict.
std::vector<std::string> Played(const Replay& replay)
{
    std::vector<std::string> lines;
    ReplayPlay play;
    BeginReplayPlay(play, replay);
    for (std::uint64_t k = 1; StepReplayPlay(play); ++k) {
        play.game.requests.clear();
        lines.push_back(sim::TraceLine(k, play.game, 0, 0, {}, {}));
    }
    lines.push_back(VerifyReplay(replay).line);
    return lines;
}

TEST(Games, PlayAloneOnThreadsAsOneAfterAnother)
{
    std::vector<Replay> replays;
    for (int diveEvery : {3, 4, 5, 6, 7, 9})
        replays.push_back(testing::Read(testing::RecordedGame(diveEvery, "T" + std::to_string(diveEvery))));
    std::vector<std::vector<std::string>> alone;
    for (const Replay& replay : replays)
        alone.push_back(Played(replay));

    std::vector<std::vector<std::string>> together(replays.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < replays.size(); ++i)
        threads.emplace_back([&, i] { together[i] = Played(replays[i]); });
    for (std::thread& thread : threads)
        thread.join();
    for (std::size_t i = 0; i < replays.size(); ++i) {
        EXPECT_EQ(together[i], alone[i]) << "game " << i;
        EXPECT_EQ(alone[i].back().rfind("verified ", 0), 0u) << alone[i].back();
    }
}

} // namespace
} // namespace ruvo
