// How fast the engine ticks: the real game on the in-memory machine, with the
// real Qt text renderer, kept in a game for the whole run (lives and the
// hurry-up out of reach, scripted dives), beside the cost of one plain copy of
// a 384 x 200 frame of 4-byte pixels, measured in the same process. It is
// also built as WebAssembly, which has no text renderer: --no-text leaves the
// letters out natively too, for a comparison of like with like. The game is
// recorded for its replay, as every game is; --no-record leaves the recording
// off, to see what it costs.
//
// Usage: ruvo-engine-bench boss|rounds [TICKS] [--no-text] [--no-record]   (100000 ticks when not given)
//   boss:   the default options; a dive every 5 ticks never stomps the boss,
//           so it stays on screen, and the status line shows its full row of
//           life icons: the heaviest tick of play.
//   rounds: one stomp beats a boss and a dive every 7 ticks stomps them, so
//           the rounds, their themes, the dissolves and the banners go by.
// Prints key=value lines for bench.sh.
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "game/flow.h"
#include "resources/embedded.h"
#include "sim/frame_text.h"
#include "sim/headless_game.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The time of one frame copy, the best of several batches so that a batch
// disturbed by the other processes on the machine does not count.
double FrameCopySeconds()
{
    constexpr std::size_t kBytes = 384 * 200 * 4;
    std::vector<std::uint8_t> from(kBytes), to(kBytes);
    for (std::size_t i = 0; i < kBytes; ++i)
        from[i] = static_cast<std::uint8_t>(i * 7);
    constexpr int kBatch = 2000;
    double best = 1e9;
    for (int batch = 0; batch < 10; ++batch) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < kBatch; ++i) {
            from[static_cast<std::size_t>(i) % kBytes] ^= 1; // a different frame each time
            std::memcpy(to.data(), from.data(), kBytes);
            // The copy must happen: the compiler cannot know what this reads.
            asm volatile("" : : "r"(to.data()) : "memory");
        }
        best = std::min(best, Seconds(Clock::now() - start) / kBatch);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    // The flags come last, in either order.
    bool noText = false, noRecord = false;
    int counted = argc;
    for (; counted > 2; --counted) {
        if (std::strcmp(argv[counted - 1], "--no-text") == 0 && !noText)
            noText = true;
        else if (std::strcmp(argv[counted - 1], "--no-record") == 0 && !noRecord)
            noRecord = true;
        else
            break;
    }
    const bool rounds = counted > 1 && std::strcmp(argv[1], "rounds") == 0;
    long long ticks = 100000;
    char* end = nullptr;
    if (counted < 2 || counted > 3 || (!rounds && std::strcmp(argv[1], "boss") != 0) ||
        (counted == 3 && ((ticks = std::strtoll(argv[2], &end, 10)) <= 0 || *end != '\0'))) {
        std::fprintf(stderr, "usage: ruvo-engine-bench boss|rounds [TICKS] [--no-text] [--no-record]\n");
        return 2;
    }

    using namespace ruvo;
    EmbeddedResources resources;
    const std::unique_ptr<TextRenderer> text = noText ? nullptr : sim::MakeFrameText(argc, argv);
    HeadlessGame game(text.get(), &resources);
    game.Start();
    GameRecord& record = game.Record();
    record.game.optDamage = 0x7FFFFFFF;
    record.game.optHarryLevel = 0xFFFFFFFF;
    if (rounds)
        record.game.optBossLevel = 1;
    const int diveEvery = rounds ? 7 : 5;
    InitTitle(record.game);
    game.Command(IDM_START);
    // Every game is recorded from its Start; the recording can be left off
    // to see what it costs.
    if (noRecord)
        record.replayLog.recording = false;

    // Where the ticks went, by the state they ran in.
    long long inGame = 0, play = 0, boss = 0, banner = 0, dissolve = 0;
    const std::uint32_t firstRound = record.game.round;
    const Clock::time_point start = Clock::now();
    // The processor time too, which other processes on the machine disturb
    // far less than the time on the clock.
    const std::clock_t cpuStart = std::clock();
    for (long long k = 1; k <= ticks; ++k) {
        if (k % diveEvery == 0)
            game.Click();
        const std::uint16_t state = record.game.state;
        game.Tick();
        // The title, or the game-over banner on its way to it, would mean the game ended.
        inGame += (state & 0xFF) != StateTitle && state != kGameOverBannerWord ? 1 : 0;
        play += (state & 0xFF) == StatePlay ? 1 : 0;
        boss += (state & 0xFF) == StatePlay && record.game.bossActive != 0 ? 1 : 0;
        banner += (state & 0xFF) == StateBanner ? 1 : 0;
        dissolve += (state & 0xFF) == StateDissolve ? 1 : 0;
    }
    const double engineSeconds = Seconds(Clock::now() - start);
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double copySeconds = FrameCopySeconds();

    const double tickSeconds = engineSeconds / static_cast<double>(ticks);
    const auto share = [ticks](long long n) { return 100.0 * static_cast<double>(n) / static_cast<double>(ticks); };
    std::printf("scenario=%s\n", rounds ? "rounds" : "boss");
    std::printf("text=%s\n", text ? "drawn" : "none");
    std::printf("recording=%s\n", record.replayLog.recording ? "on" : "off");
    std::printf("recorded_commands=%zu\n", record.replayLog.commands.size());
    std::printf("ticks=%lld\n", ticks);
    std::printf("in_game_percent=%.1f\n", share(inGame));
    std::printf("play_percent=%.1f\n", share(play));
    std::printf("boss_on_screen_percent=%.1f\n", share(boss));
    std::printf("banner_percent=%.1f\n", share(banner));
    std::printf("dissolve_percent=%.1f\n", share(dissolve));
    std::printf("rounds_cleared=%u\n", record.game.round - firstRound);
    std::printf("engine_seconds=%.3f\n", engineSeconds);
    std::printf("ticks_per_second=%.0f\n", 1.0 / tickSeconds);
    std::printf("tick_microseconds=%.2f\n", tickSeconds * 1e6);
    std::printf("processor_ticks_per_second=%.0f\n", static_cast<double>(ticks) / cpuSeconds);
    std::printf("frame_copy_microseconds=%.2f\n", copySeconds * 1e6);
    std::printf("tick_per_copy=%.1f\n", tickSeconds / copySeconds);
    return inGame == ticks ? 0 : 1;
}
