// The game's timer: a thread of its own waits on a high-resolution waitable
// timer and posts one tick message per period to the game window, so that
// ticks arrive through every message loop (the game's, a dialog's, a menu's).
// Ticks fall on a fixed schedule, one period apart from the start, so that
// the timer's granularity never adds up; a tick that falls due while the
// game has not yet taken the last one is dropped, never queued up.
// Where the system gives no waitable timer, event or thread, the window's
// own SetTimer ticks instead (WM_TIMER, at the system's granularity).
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>

namespace ruvo {

class TickTimer {
  public:
    enum class Source { Best, SystemTimer };

    // Ticks arrive as message (wParam id, lParam the tick's ticket) at
    // window, or as WM_TIMER with the id on the system timer. Start, Stop
    // and Take belong to the window's thread.
    TickTimer(void* window, unsigned message, std::uintptr_t id, Source source = Source::Best);
    ~TickTimer();
    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    // (Re)starts the schedule: the first tick one period from now.
    void Start(std::int32_t periodMs);
    void Stop();

    // Called by the window for each tick message: true for the tick the
    // timer waits to have taken; false for one posted before the last Start
    // or Stop, or one given up as lost, which is to be ignored.
    bool Take(std::intptr_t ticket);

    // Started and not stopped since (for WM_TIMER on the system timer).
    bool Running() const;

    // Whether the timer can wait to the half millisecond (the system has
    // high-resolution waitable timers); otherwise its ticks are as late as
    // the system's timer tick makes them, still one period apart on average.
    bool HighResolution() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace ruvo
