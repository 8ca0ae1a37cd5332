// The game's timer: a thread that waits on a waitable timer.
// SPDX-License-Identifier: MIT
#include "platform/windows/tick_timer.h"

#include <windows.h>

#include <mutex>
#include <system_error>
#include <thread>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace ruvo {
namespace {

std::int64_t Now100ns()
{
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return counter.QuadPart / frequency * 10'000'000 + counter.QuadPart % frequency * 10'000'000 / frequency;
}

// A tick that the window has not taken after this long is taken for lost
// (a message queue that dropped it): the next one is posted all the same.
constexpr std::int64_t kLostAfter = 10'000'000; // 1 s

} // namespace

struct TickTimer::State {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM id = 0;
    HANDLE timer = nullptr;
    HANDLE wake = nullptr;
    bool highResolution = false;
    bool systemTimer = false;
    bool running = false; // the window thread's own view
    std::mutex lock;
    // Guarded by lock:
    std::int64_t period = 0; // 100 ns units; 0: stopped
    std::uint32_t generation = 0;
    bool restarted = false;
    bool quit = false;
    std::uint32_t outstanding = 0; // the ticket of the tick posted and not yet taken; 0: none
    std::int64_t outstandingSince = 0;
    std::uint32_t lastTicket = 0;
    std::thread thread;

    // Waits until the delay (100 ns units) has passed: false when woken first.
    bool WaitFor(std::int64_t delay)
    {
        LARGE_INTEGER due{};
        due.QuadPart = -delay; // relative, so that clock changes do not matter
        const DWORD milliseconds = static_cast<DWORD>((delay + 9'999) / 10'000);
        if (timer == nullptr || !SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
            return WaitForSingleObject(wake, milliseconds) != WAIT_OBJECT_0;
        const HANDLE handles[2] = {wake, timer};
        const DWORD woke = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (woke == WAIT_FAILED)
            Sleep(milliseconds); // never a busy loop
        return woke != WAIT_OBJECT_0;
    }

    // Posts a tick of the schedule that began with generation scheduled,
    // unless the window has changed the schedule since or not yet taken the
    // last tick.
    void Post(std::uint32_t scheduled)
    {
        std::uint32_t ticket = 0;
        {
            std::lock_guard<std::mutex> guard(lock);
            const std::int64_t now = Now100ns();
            if (scheduled != generation || restarted || (outstanding != 0 && now - outstandingSince < kLostAfter))
                return;
            ticket = ++lastTicket;
            if (ticket == 0)
                ticket = ++lastTicket;
            outstanding = ticket;
            outstandingSince = now;
        }
        if (!PostMessageW(window, message, id, static_cast<LPARAM>(ticket))) {
            std::lock_guard<std::mutex> guard(lock);
            if (outstanding == ticket)
                outstanding = 0;
        }
    }

    void Run()
    {
        std::int64_t next = 0;
        std::int64_t step = 0;
        std::uint32_t scheduled = 0;
        for (;;) {
            {
                std::lock_guard<std::mutex> guard(lock);
                if (quit)
                    return;
                if (restarted) {
                    restarted = false;
                    step = period;
                    scheduled = generation;
                    next = Now100ns() + step;
                }
            }
            if (step == 0) {
                WaitForSingleObject(wake, INFINITE);
                continue;
            }
            const std::int64_t now = Now100ns();
            if (next > now && (!WaitFor(next - now) || Now100ns() < next))
                continue; // woken, or early: look at the schedule again
            Post(scheduled);
            // Ticks missed while the machine was busy or asleep are not made up.
            next += step;
            const std::int64_t after = Now100ns();
            if (next <= after)
                next += ((after - next) / step + 1) * step;
        }
    }

    void Reschedule(std::int64_t newPeriod)
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            period = newPeriod;
            restarted = true;
            ++generation;
            outstanding = 0; // a tick already posted is no longer the one waited for
        }
        SetEvent(wake);
    }
};

TickTimer::TickTimer(void* window, unsigned message, std::uintptr_t id, Source source)
    : state_(std::make_unique<State>())
{
    State& state = *state_;
    state.window = static_cast<HWND>(window);
    state.message = message;
    state.id = id;
    if (source == Source::Best) {
        state.timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
        state.highResolution = state.timer != nullptr;
        if (state.timer == nullptr)
            state.timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
        state.wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (state.timer != nullptr && state.wake != nullptr) {
            try {
                state.thread = std::thread([&state] { state.Run(); });
            } catch (const std::system_error&) {
            }
        }
    }
    state.systemTimer = !state.thread.joinable();
    if (state.systemTimer)
        state.highResolution = false;
}

TickTimer::~TickTimer()
{
    State& state = *state_;
    if (state.thread.joinable()) {
        {
            std::lock_guard<std::mutex> guard(state.lock);
            state.quit = true;
        }
        SetEvent(state.wake);
        state.thread.join();
    } else if (state.running && state.window != nullptr) {
        ::KillTimer(state.window, state.id);
    }
    if (state.wake != nullptr)
        CloseHandle(state.wake);
    if (state.timer != nullptr)
        CloseHandle(state.timer);
}

void TickTimer::Start(std::int32_t periodMs)
{
    state_->running = true;
    if (state_->systemTimer)
        ::SetTimer(state_->window, state_->id, static_cast<UINT>(periodMs), nullptr);
    else
        state_->Reschedule(std::int64_t{periodMs} * 10'000);
}

void TickTimer::Stop()
{
    state_->running = false;
    if (state_->systemTimer)
        ::KillTimer(state_->window, state_->id);
    else
        state_->Reschedule(0);
}

bool TickTimer::Take(std::intptr_t ticket)
{
    std::lock_guard<std::mutex> guard(state_->lock);
    if (ticket == 0 || static_cast<std::uint32_t>(ticket) != state_->outstanding)
        return false;
    state_->outstanding = 0;
    return true;
}

bool TickTimer::Running() const
{
    return state_->running;
}

bool TickTimer::HighResolution() const
{
    return state_->highResolution;
}

} // namespace ruvo
