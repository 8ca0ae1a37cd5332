// The game's timer under a storm of restarts and stops from the window's
// thread while it ticks: after every burst the ticks come again, and no tick
// of an earlier schedule is ever taken (none after a stop, none before the
// first period of a start has passed).
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>

#include "platform/windows/tick_timer.h"

namespace ruvo {
namespace {

constexpr UINT kTick = WM_APP + 7;
constexpr std::uintptr_t kId = 3;

double Milliseconds()
{
    LARGE_INTEGER frequency{}, counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

class Storm {
  public:
    explicit Storm(TickTimer::Source source)
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"RuvoTickStorm";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, L"RuvoTickStorm", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        timer_ = std::make_unique<TickTimer>(window_, kTick, kId, source);
    }
    ~Storm()
    {
        timer_.reset();
        DestroyWindow(window_);
    }

    TickTimer& Timer() { return *timer_; }

    void Start(int periodMs)
    {
        started_ = Milliseconds();
        period_ = periodMs;
        timer_->Start(periodMs);
    }
    void Stop()
    {
        timer_->Stop();
        period_ = 0;
    }

    // Handles the messages waiting; true when a tick was taken.
    bool Pump()
    {
        bool took = false;
        MSG message{};
        while (PeekMessageW(&message, window_, 0, 0, PM_REMOVE)) {
            bool taken = false;
            if (message.message == kTick)
                taken = timer_->Take(message.lParam);
            else if (message.message == WM_TIMER && message.wParam == kId)
                taken = timer_->Running();
            if (!taken)
                continue;
            took = true;
            // A tick of this schedule comes a whole period after its start at the earliest.
            if (period_ == 0 || Milliseconds() - started_ < period_ - 1)
                ++stray;
        }
        return took;
    }

    // Pumps until a tick is taken; false when none comes in a minute.
    bool AwaitTick()
    {
        const double deadline = Milliseconds() + 60'000;
        while (!Pump()) {
            if (Milliseconds() > deadline)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return true;
    }

    int stray = 0;

  private:
    HWND window_ = nullptr;
    std::unique_ptr<TickTimer> timer_;
    double started_ = 0;
    int period_ = 0;
};

void RunStorm(TickTimer::Source source, int bursts)
{
    Storm storm(source);
    std::mt19937 random(22);
    for (int burst = 0; burst < bursts; ++burst) {
        // Restarts (some with a period far beyond the burst) and stops, at
        // random moments against the timer's own, with ticks taken between.
        const int steps = 1 + static_cast<int>(random() % 4);
        for (int step = 0; step < steps; ++step) {
            const unsigned choice = random() % 8;
            if (choice == 0)
                storm.Stop();
            else
                storm.Start(choice == 1 ? 60'000 : 1 + static_cast<int>(choice % 2));
            const double until = Milliseconds() + static_cast<double>(random() % 2000) / 1000.0;
            while (Milliseconds() < until)
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

TEST(TickTimer, KeepsTickingThroughAStormOfRestartsAndStops)
{
    RunStorm(TickTimer::Source::Best, 3000);
}

TEST(TickTimer, OnTheWindowsSystemTimerKeepsTickingToo)
{
    RunStorm(TickTimer::Source::SystemTimer, 150);
}

} // namespace
} // namespace ruvo
