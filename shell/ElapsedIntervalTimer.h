#pragma once

#include <QTimer>

#include <functional>
#include <memory>
#include <string_view>

#include "IntervalTimer.h"
#include "SteppedTimerSet.h"

namespace tonovka {

// A game timer for a browser page, whose timers come late and seldom: a chain of 1 ms timers runs
// far less often than asked (README.md, "Where a browser page differs"); in a background tab,
// unless the page's sound is audible, about once a second, and once a minute after five minutes
// hidden. Ticking once a call would run the game at the browser's pace: the cursors far slower
// than on the desktop, and a background tab's countdown slower still. So each call moves the
// timer's own stepped clock on to the milliseconds that have passed since the timer was made: the
// game ticks as often as the interval went by, each tick at its own moment, however the page's
// calls fall.
class ElapsedIntervalTimer final : public IntervalTimer {
public:
    // Milliseconds on some clock; the page's own by default.
    using Clock = std::function<qint64()>;

    ElapsedIntervalTimer(std::string_view name, int intervalMs, std::function<void()> tick, Clock clock = {});

    void setOn(bool on) override;
    bool isOn() const override { return m_ticks->isOn(); }

    // Moves the clock on to now, firing the ticks that fell due: what each of the page's calls
    // does while the timer is on. A test may make the calls itself, as a browser made them.
    void catchUp();

    static std::unique_ptr<IntervalTimer> make(std::string_view name, int intervalMs, std::function<void()> tick);

private:
    Clock m_now;
    qint64 m_start;
    SteppedTimerSet m_clock;
    std::unique_ptr<IntervalTimer> m_ticks; // the game's timer on m_clock
    QTimer m_calls;                         // when the page lets the clock move on
};

} // namespace tonovka
