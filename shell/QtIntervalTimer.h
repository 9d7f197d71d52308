#pragma once

#include <QTimer>

#include <functional>
#include <memory>
#include <string_view>

#include "IntervalTimer.h"

namespace tonovka {

// A game timer on its own precise QTimer. The ticks come as the platform gives them: a tick
// that falls due late is not caught up, and that jitter is what spreads the people over
// the windows of the house.
class QtIntervalTimer final : public IntervalTimer {
public:
    QtIntervalTimer(std::string_view name, int intervalMs, std::function<void()> tick);

    void setOn(bool on) override;
    bool isOn() const override { return m_timer.isActive(); }

    static std::unique_ptr<IntervalTimer> make(std::string_view name, int intervalMs, std::function<void()> tick);

private:
    QTimer m_timer;
};

} // namespace tonovka
