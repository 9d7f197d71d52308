#include "ElapsedIntervalTimer.h"

#include <QElapsedTimer>

namespace tonovka {

ElapsedIntervalTimer::ElapsedIntervalTimer(std::string_view name, int intervalMs, std::function<void()> tick,
                                           Clock clock)
    : m_now(clock ? std::move(clock) : Clock([since = QElapsedTimer()]() mutable {
          if (!since.isValid())
              since.start();
          return since.elapsed();
      })),
      m_start(m_now()), m_ticks(m_clock.factory()(name, intervalMs, std::move(tick)))
{
    m_calls.setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    m_calls.setTimerType(Qt::PreciseTimer);
    m_calls.setInterval(intervalMs);
    QObject::connect(&m_calls, &QTimer::timeout, &m_calls, [this] { catchUp(); });
}

void ElapsedIntervalTimer::setOn(bool on)
{
    if (on == isOn())
        return;
    if (on) {
        // The time it was off passes without ticks; the first comes one interval from now.
        catchUp();
        m_ticks->setOn(true);
        m_calls.start();
    } else {
        m_ticks->setOn(false);
        m_calls.stop();
    }
}

void ElapsedIntervalTimer::catchUp()
{
    m_clock.advance(m_now() - m_start - m_clock.now());
}

std::unique_ptr<IntervalTimer> ElapsedIntervalTimer::make(std::string_view name, int intervalMs,
                                                          std::function<void()> tick)
{
    return std::make_unique<ElapsedIntervalTimer>(name, intervalMs, std::move(tick));
}

} // namespace tonovka
