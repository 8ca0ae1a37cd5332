// ruvo-sim --verify: a replay file played without a window, its result
// compared with the file's last line.
// SPDX-License-Identifier: MIT
#include "sim/verify.h"

#include "app/replay_play.h"
#include "sim/headless_game.h"
#include "sim/sim_options.h"

namespace ruvo::sim {
namespace {

std::string Result(const ReplayResult& r)
{
    return "score=" + std::to_string(r.score) + " round=" + std::to_string(r.round) +
           " ticks=" + std::to_string(r.ticks);
}

} // namespace

Verdict VerifyReplay(Replay replay, const ResourceLibrary* resources)
{
    const ReplayResult said = replay.result;
    // The program as it starts (the icons the status line draws), and the
    // replay on a record of its own beside it; no letters are needed.
    HeadlessGame program(nullptr, resources);
    program.Start();
    HeadlessWindow window;
    ReplaySetup setup;
    setup.host.wave = &program.wave;
    setup.host.music = &program.music;
    setup.resources = resources;
    setup.window = &window;
    ReplayPlay play;
    BeginReplayPlay(play, std::move(replay), setup);
    while (StepReplayPlay(play)) {
    }
    const bool ended = (play.game->state & StateTitle) != 0;
    EndReplayPlay(play);

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
    return {true, "verified " + Result(got)};
}

int VerifyFile(const std::string& path, const ResourceLibrary* resources)
{
    std::string text, error;
    std::optional<Replay> replay;
    if (ReadFileWithin(path, kReplayMaxBytes, text, error))
        replay = ReadReplay(text, error);
    if (!replay) {
        std::fprintf(stderr, "ruvo-sim: %s: %s\n", path.c_str(), error.c_str());
        return 2;
    }
    text.clear();
    text.shrink_to_fit();
    const Verdict verdict = VerifyReplay(std::move(*replay), resources);
    std::printf("%s\n", verdict.line.c_str());
    std::fflush(stdout);
    return verdict.verified ? 0 : 1;
}

} // namespace ruvo::sim
