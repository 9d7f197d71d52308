#include "QtIntervalTimer.h"

namespace tonovka {

QtIntervalTimer::QtIntervalTimer(std::string_view name, int intervalMs, std::function<void()> tick)
{
    m_timer.setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(intervalMs);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(tick));
}

void QtIntervalTimer::setOn(bool on)
{
    if (on && !m_timer.isActive())
        m_timer.start();
    else if (!on)
        m_timer.stop();
}

std::unique_ptr<IntervalTimer> QtIntervalTimer::make(std::string_view name, int intervalMs, std::function<void()> tick)
{
    return std::make_unique<QtIntervalTimer>(name, intervalMs, std::move(tick));
}

} // namespace tonovka
