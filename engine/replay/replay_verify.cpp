// A replay's game played again and its result checked against the file's.
// SPDX-License-Identifier: MIT
#include "replay/replay_verify.h"

#include "replay/replay_play.h"

namespace ruvo {
namespace {

std::string Result(const ReplayResult& r)
{
    return "score=" + std::to_string(r.score) + " round=" + std::to_string(r.round) +
           " ticks=" + std::to_string(r.ticks);
}

} // namespace

Verdict VerifyReplay(Replay replay)
{
    const ReplayResult said = replay.result;
    ReplayPlay play;
    BeginReplayPlay(play, std::move(replay));
    // The game decides alone: nothing is drawn, played or shown.
    std::uint64_t playedMs = 0;
    do {
        play.game.requests.clear();
        playedMs += static_cast<std::uint32_t>(play.game.tickInterval);
    } while (StepReplayPlay(play));
    const bool ended = (play.game.state & StateTitle) != 0;

    const ReplayResult& got = play.result;
    const auto differs = [&](const std::string& what, const std::string& file) {
        return Verdict{false, "differs: " + what + ", the file says " + file};
    };
    if (!ended)
        return differs("the game goes on after ticks=" + std::to_string(got.ticks),
                       "it ends there with " + Result(said));
    if (got.score != said.score)
        return differs("score=" + std::to_string(got.score), "score=" + std::to_string(said.score));
    if (got.round != said.round)
        return differs("round=" + std::to_string(got.round), "round=" + std::to_string(said.round));
    if (got.ticks != said.ticks)
        return differs("ticks=" + std::to_string(got.ticks), "ticks=" + std::to_string(said.ticks));
    if (got.name != said.name)
        return differs("name=" + got.name, "name=" + said.name);
    return {true, "verified " + Result(got), playedMs};
}

} // namespace ruvo
