#include "ElapsedIntervalTimer.h"

#include <QtTest>

namespace tonovka {

// A page calls its timers late and seldom; the game's timer ticks as often as its interval went
// by on the clock, whenever the calls come, and not for the time it was off.
class ElapsedIntervalTimerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ticksForTheTimeThatPassedWhileOn()
    {
        qint64 now = 5000;
        int ticks = 0;
        ElapsedIntervalTimer timer("chlapTIME", 1, [&ticks] { ++ticks; }, [&now] { return now; });
        timer.setOn(true);
        now += 7;
        QTRY_COMPARE(ticks, 7);
        now += 1000; // a background tab's call, once a second in its first five minutes
        QTRY_COMPARE(ticks, 1007);
        timer.setOn(false);
        now += 60000;
        timer.setOn(true);
        now += 3;
        QTRY_COMPARE(ticks, 1010);
        QTest::qWait(20); // more calls, no more time
        QCOMPARE(ticks, 1010);
    }
};

} // namespace tonovka

QTEST_GUILESS_MAIN(tonovka::ElapsedIntervalTimerTest)
#include "ElapsedIntervalTimerTest.moc"
