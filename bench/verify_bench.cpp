// What a game costs without its drawing, and what watching one costs: the
// real game played on the in-memory machine with Qt's letters for TICKS ticks
// (the boss scenario of ruvo-engine-bench: the boss on screen, every life
// icon drawn), then the same game, from its replay, verified without drawing
// on one thread and on two, and watched in the window.
//
// Usage: ruvo-verify-bench [TICKS]   (50000 when not given)
// Prints key=value lines for bench.sh:
//   drawn_processor_ticks_per_second, verify_processor_ticks_per_second and
//   their ratio; verify_copies, one_thread_seconds, two_thread_seconds and
//   threads_speedup (the same copies verified by one thread, then by two);
//   race_cost_percent (the median of five pairs: what racing the same game's
//   ghost, shown throughout, costs in processor time over playing it alone);
//   watch_start_bytes (what starting to watch the replay's first 2,000 ticks
//   keeps from the heap: its game and commands, and no drawing of its own) beside
//   drawing_bytes (the window's frame and stage alone).
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <malloc.h>
#include <new>
#include <thread>
#include <vector>

#include "game/flow.h"
#include "replay/replay_file.h"
#include "replay/replay_race.h"
#include "replay/replay_record.h"
#include "replay/replay_verify.h"
#include "replay/replay_watch.h"
#include "resources/embedded.h"
#include "sim/frame_text.h"
#include "sim/headless_game.h"

namespace {

// The bytes the process holds from the heap, for what watching keeps.
std::atomic<long long> heldBytes{0};

double ProcessorSeconds(std::clock_t since)
{
    return static_cast<double>(std::clock() - since) / CLOCKS_PER_SEC;
}

double WallSeconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// A game of the boss scenario on a window of its own, for ticks ticks:
// from the title's start, or racing the replay in race (the same inputs, so
// that the ghost shows throughout). Its processor seconds.
double PlaySeconds(ruvo::TextRenderer* text, const ruvo::ResourceLibrary* resources, long long ticks,
                   const std::string& race)
{
    using namespace ruvo;
    HeadlessGame game(text, resources);
    game.Start();
    GameRecord& record = game.Record();
    record.game.optDamage = 0x7FFFFFFF;
    record.game.optHarryLevel = 0xFFFFFFFF;
    InitTitle(record.game);
    if (race.empty())
        game.Command(IDM_START);
    else
        game.Race(race);
    const std::clock_t start = std::clock();
    for (long long k = 1; k <= ticks; ++k) {
        if (k % 5 == 0)
            game.Click();
        game.Tick();
    }
    if (!race.empty() && !record.drawing.ghostShown)
        std::fprintf(stderr, "ruvo-verify-bench: the ghost was not on show\n");
    return ProcessorSeconds(start);
}

// The copies verified by threads threads, taking them in turns.
double VerifySeconds(const ruvo::Replay& replay, int copies, int threads)
{
    std::atomic<int> next{0};
    const auto work = [&] {
        while (next++ < copies)
            ruvo::VerifyReplay(replay);
    };
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> others;
    for (int t = 1; t < threads; ++t)
        others.emplace_back(work);
    work();
    for (std::thread& thread : others)
        thread.join();
    return WallSeconds(start);
}

} // namespace

void* operator new(std::size_t size)
{
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        heldBytes += static_cast<long long>(malloc_usable_size(block));
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    if (block != nullptr)
        heldBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

int main(int argc, char** argv)
{
    long long ticks = 50000;
    char* end = nullptr;
    if (argc > 2 || (argc == 2 && ((ticks = std::strtoll(argv[1], &end, 10)) <= 0 || *end != '\0'))) {
        std::fprintf(stderr, "usage: ruvo-verify-bench [TICKS]\n");
        return 2;
    }
    using namespace ruvo;
    EmbeddedResources resources;
    const std::unique_ptr<TextRenderer> text = sim::MakeFrameText(argc, argv);
    HeadlessGame game(text.get(), &resources);
    game.Start();
    GameRecord& record = game.Record();
    record.game.optDamage = 0x7FFFFFFF;
    record.game.optHarryLevel = 0xFFFFFFFF;
    InitTitle(record.game);
    game.Command(IDM_START);

    // The game drawn as the window draws it.
    const std::clock_t drawnStart = std::clock();
    for (long long k = 1; k <= ticks; ++k) {
        if (k % 5 == 0)
            game.Click();
        game.Tick();
    }
    const double drawnSeconds = ProcessorSeconds(drawnStart);

    // The same game decided alone, from its replay.
    Replay replay = RecordedSoFar(record);
    replay.date = UtcDate(0);
    const std::clock_t verifyStart = std::clock();
    const Verdict verdict = VerifyReplay(replay);
    const double verifySeconds = ProcessorSeconds(verifyStart);
    // The game goes on past its replay's last tick: it did not end.
    if (verdict.verified || verdict.line.find("goes on after ticks=" + std::to_string(ticks)) == std::string::npos) {
        std::fprintf(stderr, "ruvo-verify-bench: the replay played to another end: %s\n", verdict.line.c_str());
        return 1;
    }

    // Racing the same game's ghost against playing it alone, in turns.
    const std::string replayText = WriteReplay(replay);
    std::vector<double> raceCosts;
    for (int pair = 0; pair < 5; ++pair) {
        const double alone = PlaySeconds(text.get(), &resources, ticks / 2, {});
        const double race = PlaySeconds(text.get(), &resources, ticks / 2, replayText);
        raceCosts.push_back((race - alone) / alone * 100);
    }
    std::sort(raceCosts.begin(), raceCosts.end());

    constexpr int kCopies = 16;
    const double oneThread = VerifySeconds(replay, kCopies, 1);
    const double twoThreads = VerifySeconds(replay, kCopies, 2);

    // Watching the replay in a window on its title, its drawing showing it.
    HeadlessGame watcher(text.get(), &resources);
    watcher.Start();
    GameRecord& window = watcher.Record();
    // Its first 2,000 ticks, so that the replay's own commands weigh little
    // beside what a second set of surfaces and art would.
    Replay start = replay;
    std::erase_if(start.commands, [](const ReplayCommand& command) { return command.tick > 2000; });
    start.result.ticks = 2000;
    const std::string startText = WriteReplay(start);
    const long long before = heldBytes;
    const std::string error = WatchReplay(window, startText);
    const long long watchBytes = heldBytes - before;
    if (!error.empty() || !window.watch) {
        std::fprintf(stderr, "ruvo-verify-bench: the replay does not play: %s\n", error.c_str());
        return 1;
    }
    const Drawing& drawing = window.drawing;
    const long long drawingBytes = 4LL * (drawing.frameBitmap->Width() * drawing.frameBitmap->Height() +
                                          drawing.stageBitmap->Width() * drawing.stageBitmap->Height());

    std::printf("ticks=%lld\n", ticks);
    std::printf("drawn_processor_ticks_per_second=%.0f\n", static_cast<double>(ticks) / drawnSeconds);
    std::printf("verify_processor_ticks_per_second=%.0f\n", static_cast<double>(ticks) / verifySeconds);
    std::printf("verify_per_drawn=%.1f\n", drawnSeconds / verifySeconds);
    std::printf("verify_copies=%d\n", kCopies);
    std::printf("one_thread_seconds=%.3f\n", oneThread);
    std::printf("two_thread_seconds=%.3f\n", twoThreads);
    std::printf("threads_speedup=%.2f\n", oneThread / twoThreads);
    std::printf("race_cost_percent=%.1f\n", raceCosts[raceCosts.size() / 2]);
    std::printf("watch_start_bytes=%lld\n", watchBytes);
    std::printf("drawing_bytes=%lld\n", drawingBytes);
    return 0;
}
