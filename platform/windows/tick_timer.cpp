#include "platform/windows/tick_timer.h"

#include <windows.h>

#include <mutex>
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

} // namespace

struct TickTimer::State {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM id = 0;
    HANDLE timer = nullptr;
    HANDLE wake = nullptr;
    bool highResolution = false;
    std::mutex lock;
    std::int64_t period = 0; // 100 ns units; 0: stopped
    bool restarted = false;
    bool quit = false;
    std::atomic<std::intptr_t> generation{0};
    std::atomic<bool> pending{false};
    std::thread thread;

    void Run()
    {
        std::int64_t next = 0;
        std::int64_t step = 0;
        std::intptr_t running = 0;
        for (;;) {
            {
                std::lock_guard<std::mutex> guard(lock);
                if (quit)
                    return;
                if (restarted) {
                    restarted = false;
                    step = period;
                    running = generation.load();
                    next = Now100ns() + step;
                }
            }
            if (step == 0) {
                WaitForSingleObject(wake, INFINITE);
                continue;
            }
            const std::int64_t now = Now100ns();
            if (next > now) {
                LARGE_INTEGER due{};
                due.QuadPart = -(next - now); // relative, so that clock changes do not matter
                SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
                const HANDLE handles[2] = {wake, timer};
                if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
                    continue; // woken: look at the schedule again
                if (Now100ns() < next)
                    continue;
            }
            if (!pending.exchange(true))
                PostMessageW(window, message, id, static_cast<LPARAM>(running));
            // Ticks missed while the machine was busy or asleep are not made up.
            next += step;
            const std::int64_t after = Now100ns();
            if (next <= after)
                next += ((after - next) / step + 1) * step;
        }
    }
};

TickTimer::TickTimer(void* window, unsigned message, std::uintptr_t id) : state_(std::make_unique<State>())
{
    state_->window = static_cast<HWND>(window);
    state_->message = message;
    state_->id = id;
    state_->timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    state_->highResolution = state_->timer != nullptr;
    if (state_->timer == nullptr)
        state_->timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    state_->wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    state_->thread = std::thread([state = state_.get()] { state->Run(); });
}

TickTimer::~TickTimer()
{
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        state_->quit = true;
    }
    SetEvent(state_->wake);
    state_->thread.join();
    CloseHandle(state_->wake);
    if (state_->timer != nullptr)
        CloseHandle(state_->timer);
}

void TickTimer::Start(std::int32_t periodMs)
{
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        state_->period = std::int64_t{periodMs} * 10'000;
        state_->restarted = true;
        ++state_->generation;
        state_->pending = false;
    }
    SetEvent(state_->wake);
}

void TickTimer::Stop()
{
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        state_->period = 0;
        state_->restarted = true;
        ++state_->generation;
        state_->pending = false;
    }
    SetEvent(state_->wake);
}

bool TickTimer::Take(std::intptr_t generation)
{
    const bool current = generation == state_->generation.load();
    if (current)
        state_->pending = false;
    return current;
}

bool TickTimer::HighResolution() const
{
    return state_->highResolution;
}

} // namespace ruvo
