#pragma once

#include <functional>
#include <memory>
#include <string_view>

namespace tonovka {

// A timer that, while on, calls its tick once per interval on the user-interface thread.
// Switching on a timer that is already on does not restart its interval.
class IntervalTimer {
public:
    virtual ~IntervalTimer() = default;
    virtual void setOn(bool on) = 0;
    virtual bool isOn() const = 0;
};

// Makes the clock's timers: Qt timers in the program, stepped timers in tests.
using IntervalTimerFactory =
    std::function<std::unique_ptr<IntervalTimer>(std::string_view name, int intervalMs, std::function<void()> tick)>;

} // namespace tonovka
