// The game's timer under a storm of restarts and stops from the window's
// thread while it ticks, on the waitable timer and on the system's SetTimer:
// after every burst the ticks come again, and no tick of an earlier schedule
// is ever taken (none after a stop, none before the first period of a start
// has passed).
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <utility>

#include "platform/windows/tick_timer.h"

namespace ruvo {
namespace {

constexpr UINT kTick = WM_APP + 7;
constexpr std::uintptr_t kId = 3;

double Milliseconds()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Storm {
    // A message-only window: the test takes its messages itself.
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    TickTimer timer;
    double started = 0;
    int period = 0; // 0: stopped
    int stray = 0;

    explicit Storm(TickTimer::Source source) : timer(window, kTick, kId, source) {}
    ~Storm()
    {
        timer.Stop();
        DestroyWindow(window);
    }
    void Start(int periodMs)
    {
        started = Milliseconds();
        timer.Start(period = periodMs);
    }

    // Handles the messages waiting; true when a tick was taken.
    bool Pump()
    {
        bool took = false;
        for (MSG message{}; PeekMessageW(&message, window, 0, 0, PM_REMOVE);) {
            const bool taken = message.message == kTick
                                   ? timer.Take(message.lParam)
                                   : message.message == WM_TIMER && message.wParam == kId && timer.Running();
            // A tick of this schedule comes a whole period after its start at the earliest.
            if (taken && (period == 0 || Milliseconds() - started < period - 1))
                ++stray;
            took = took || taken;
        }
        return took;
    }

    // Pumps until a tick is taken; false when none comes in a minute.
    bool AwaitTick()
    {
        for (const double deadline = Milliseconds() + 60'000; !Pump();) {
            if (Milliseconds() > deadline)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return true;
    }
};

TEST(TickTimer, KeepsTickingThroughAStormOfRestartsAndStops)
{
    // SetTimer's ticks come at the system's granularity: fewer bursts on it.
    for (const auto& [source, bursts] :
         {std::pair{TickTimer::Source::Best, 3000}, {TickTimer::Source::SystemTimer, 150}}) {
        SCOPED_TRACE(source == TickTimer::Source::Best ? "the waitable timer" : "SetTimer");
        Storm storm(source);
        std::mt19937 random(22);
        for (int burst = 0; burst < bursts; ++burst) {
            // Restarts (some with a period far beyond the burst) and stops, at
            // random moments against the timer's own, with ticks taken between.
            for (int step = 0, steps = 1 + static_cast<int>(random() % 4); step < steps; ++step) {
                const unsigned choice = random() % 8;
                if (choice == 0) {
                    storm.timer.Stop();
                    storm.period = 0;
                } else {
                    storm.Start(choice == 1 ? 60'000 : 1 + static_cast<int>(choice % 2));
                }
                for (const double until = Milliseconds() + static_cast<double>(random() % 2000) / 1000.0;
                     Milliseconds() < until;)
                    if (random() % 4 == 0)
                        storm.Pump();
            }
            storm.Start(1);
            ASSERT_TRUE(storm.AwaitTick()) << "no tick came after burst " << burst;
        }
        EXPECT_EQ(storm.stray, 0) << "ticks of an earlier schedule taken";
        // And it still keeps time after the storm.
        for (int tick = 0; tick < 20; ++tick)
            ASSERT_TRUE(storm.AwaitTick());
    }
}

} // namespace
} // namespace ruvo
