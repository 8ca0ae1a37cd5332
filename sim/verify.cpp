// ruvo-sim --verify: replay files played without a window, their results
// compared with their files' last lines, on as many threads as asked for.
// SPDX-License-Identifier: MIT
#include "sim/verify.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "replay/replay_file.h"
#include "replay/replay_verify.h"
#include "sim/sim_options.h"

// WebAssembly's reactor runs on one thread: there the files take turns.
#ifndef __wasi__
#include <thread>
#endif

namespace ruvo::sim {

FileVerdict VerifyFile(const std::string& path)
{
    std::string text, error;
    std::optional<Replay> replay;
    if (ReadFileWithin(path, kReplayMaxBytes, text, error))
        replay = ReadReplay(text, error);
    if (!replay)
        return {2, error};
    text.clear();
    text.shrink_to_fit();
    const Verdict verdict = VerifyReplay(std::move(*replay));
    return {verdict.verified ? 0 : 1, verdict.line};
}

unsigned ProcessorCount()
{
#ifdef __wasi__
    return 1;
#else
    return std::max(1u, std::thread::hardware_concurrency());
#endif
}

int VerifyFiles(const std::vector<std::string>& paths, unsigned jobs)
{
    std::vector<FileVerdict> verdicts(paths.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < paths.size();)
            verdicts[i] = VerifyFile(paths[i]);
    };
#ifdef __wasi__
    (void)jobs;
    work();
#else
    std::vector<std::thread> threads;
    for (unsigned j = 1; j < std::min<std::size_t>(std::max(jobs, 1u), paths.size()); ++j)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
#endif
    int worst = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const FileVerdict& verdict = verdicts[i];
        const std::string name = paths.size() > 1 ? paths[i] + ": " : std::string();
        if (verdict.status == 2) {
            std::fprintf(stderr, "ruvo-sim: %s: %s\n", paths[i].c_str(), verdict.line.c_str());
            std::fflush(stderr);
        } else {
            std::printf("%s%s\n", name.c_str(), verdict.line.c_str());
            std::fflush(stdout);
        }
        worst = std::max(worst, verdict.status);
    }
    return worst;
}

} // namespace ruvo::sim
