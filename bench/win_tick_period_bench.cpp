// The Windows game's tick period: the game's own start-up on the Win32
// machine, a game in play, and the time between the tick messages that the
// message loop takes for the game window. The period is set as the Option
// dialog sets it, through the record, and the timer restarted as the game
// restarts it. Processor time of the whole process is reported beside it.
//
// Usage: ruvo-tick-bench.exe SECONDS PERIOD-MS...   (needs a display)
// Prints, for each period: period=P intervals=N mean_ms=M p99_ms=Q min_ms=L
// max_ms=X cpu_percent=C high_resolution=0|1. Settings go to a key of its own.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <vector>

#include "app/shell.h"
#include "game/window.h"
#include "platform/windows/tick_timer.h"
#include "platform/windows/win_game_window.h"
#include "platform/windows/win_machine.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency;
}

double ProcessSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const double seconds = std::atof(argv[1]);
    ruvo::WinMachine machine(L"SOFTWARE\\Tolp\\RuvoTickBench");
    std::unique_ptr<ruvo::GameRecord> record =
        ruvo::StartUp(machine.windows, machine.MakeHost(), &machine.resources, SW_SHOWNOACTIVATE);
    if (!record)
        return 1;
    // Lives enough that the game never ends (a high score would open a dialog).
    record->game.optDamage = 1'000'000;
    ruvo::RunCommand(*record, ruvo::IDM_START);
    const bool highResolution = ruvo::TickTimer(nullptr, 0, 0).HighResolution();

    for (int i = 2; i < argc; ++i) {
        const int period = std::atoi(argv[i]);
        record->game.tickInterval = period;
        record->game.optSpeed = static_cast<std::uint32_t>(period);
        ruvo::RestartTimer(*record);
        std::vector<double> times;
        LARGE_INTEGER start{}, now{};
        QueryPerformanceCounter(&start);
        const double cpuBefore = ProcessSeconds();
        MSG message{};
        do {
            if (!GetMessageW(&message, nullptr, 0, 0))
                break;
            QueryPerformanceCounter(&now);
            if (message.message == ruvo::kTickMessage) {
                // Keep the game in play: the boss and the hurry-up would change the period.
                record->game.roundTicks = 0;
                times.push_back(Seconds(start, now));
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        } while (Seconds(start, now) < seconds);
        const double cpu = (ProcessSeconds() - cpuBefore) / Seconds(start, now) * 100;
        std::vector<double> intervals;
        for (std::size_t k = 2; k < times.size(); ++k) // the first after a restart is no whole period
            intervals.push_back((times[k] - times[k - 1]) * 1000);
        if (intervals.empty())
            return 1;
        std::vector<double> sorted = intervals;
        std::sort(sorted.begin(), sorted.end());
        const double mean =
            std::accumulate(intervals.begin(), intervals.end(), 0.0) / static_cast<double>(intervals.size());
        std::printf("period=%d intervals=%zu mean_ms=%.3f p99_ms=%.3f min_ms=%.3f max_ms=%.3f cpu_percent=%.2f "
                    "high_resolution=%d\n",
                    period, intervals.size(), mean, sorted[sorted.size() * 99 / 100], sorted.front(), sorted.back(),
                    cpu, highResolution ? 1 : 0);
        std::fflush(stdout);
    }
    ruvo::ExitCommand(*record);
    ruvo::ShutDown(std::move(record));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Tolp\\RuvoTickBench");
    return 0;
}
