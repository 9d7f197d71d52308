#include "SteppedTimerSet.h"

#include <algorithm>

namespace tonovka {

class SteppedTimerSet::Timer final : public IntervalTimer {
public:
    Timer(SteppedTimerSet& set, std::string name, int intervalMs, std::function<void()> tick)
        : m_set(&set), name(std::move(name)), interval(std::max(intervalMs, 1)), tick(std::move(tick))
    {
    }
    ~Timer() override
    {
        if (m_set)
            std::erase(m_set->m_timers, this);
    }

    void setOn(bool on) override
    {
        if (on && !m_on)
            due = (m_set ? m_set->m_now : 0) + interval;
        m_on = on;
    }
    bool isOn() const override { return m_on; }

    SteppedTimerSet* m_set;
    const std::string name;
    const std::int64_t interval;
    const std::function<void()> tick;
    std::int64_t due = 0;
    bool m_on = false;
};

SteppedTimerSet::SteppedTimerSet() = default;

SteppedTimerSet::~SteppedTimerSet()
{
    // Timers may outlive the set (a clock destroyed after it); they then stop referring to it.
    for (Timer* timer : m_timers)
        timer->m_set = nullptr;
}

IntervalTimerFactory SteppedTimerSet::factory()
{
    return [this](std::string_view name, int intervalMs, std::function<void()> tick) {
        auto timer = std::make_unique<Timer>(*this, std::string(name), intervalMs, std::move(tick));
        m_timers.push_back(timer.get());
        return std::unique_ptr<IntervalTimer>(std::move(timer));
    };
}

void SteppedTimerSet::advance(std::int64_t ms)
{
    const std::int64_t end = m_now + ms;
    for (;;) {
        Timer* next = nullptr;
        for (Timer* timer : m_timers) {
            if (timer->m_on && timer->due <= end && (!next || timer->due < next->due))
                next = timer;
        }
        if (!next)
            break;
        m_now = next->due;
        next->due += next->interval;
        next->tick();
    }
    m_now = end;
}

std::vector<std::string> SteppedTimerSet::timersOn() const
{
    std::vector<std::string> names;
    for (const Timer* timer : m_timers) {
        if (timer->m_on)
            names.push_back(timer->name);
    }
    return names;
}

} // namespace tonovka
