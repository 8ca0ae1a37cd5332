// The game's timer: a thread of its own waits on a high-resolution waitable
// timer and posts one tick message per period to the game window, so that
// ticks arrive through every message loop (the game's, a dialog's, a menu's).
// Ticks fall on a fixed schedule, one period apart from the start, so that
// the timer's granularity never adds up; a tick that falls due while the
// game has not yet taken the last one is dropped, never queued up.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace ruvo {

class TickTimer {
  public:
    // Ticks arrive as message (wParam id, lParam the timer's generation) at window.
    TickTimer(void* window, unsigned message, std::uintptr_t id);
    ~TickTimer();
    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    // (Re)starts the schedule: the first tick one period from now.
    void Start(std::int32_t periodMs);
    void Stop();

    // Called by the window for each tick message; false for a tick of an
    // earlier start, which is to be ignored. Either way the next may come.
    bool Take(std::intptr_t generation);

    // Whether the timer can wait to the half millisecond (the system has
    // high-resolution waitable timers); otherwise its ticks are as late as
    // the system's timer tick makes them, still one period apart on average.
    bool HighResolution() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace ruvo
