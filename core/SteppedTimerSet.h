#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "IntervalTimer.h"

namespace tonovka {

// Timers on a clock that is moved on by its owner, not by the wall clock: a test moves it by hand,
// so that a whole game runs without any window system, and a browser page's timer by the
// milliseconds that have passed between the browser's calls (shell/ElapsedIntervalTimer).
//
// A timer switched on at time t (from off) first ticks at t + interval, then every interval.
// advance(ms) fires, in time order, every tick that falls due up to now + ms, each at its own
// moment, so a tick's handler sees the clock at that tick. Ticks due at the same moment fire
// in the order in which the timers were made. A handler may switch timers on and off; that
// takes effect for the ticks after it.
class SteppedTimerSet {
public:
    SteppedTimerSet();
    ~SteppedTimerSet();

    // Its timers point back at the set that made them.
    SteppedTimerSet(const SteppedTimerSet&) = delete;
    SteppedTimerSet& operator=(const SteppedTimerSet&) = delete;

    // An IntervalTimerFactory that makes timers of this set.
    IntervalTimerFactory factory();

    void advance(std::int64_t ms);
    std::int64_t now() const { return m_now; }

    // The names of the timers that are on, in the order in which they were made.
    std::vector<std::string> timersOn() const;

private:
    class Timer;

    std::vector<Timer*> m_timers;
    std::int64_t m_now = 0;
};

} // namespace tonovka
