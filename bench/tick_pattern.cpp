// tick_pattern: when the platform calls the game's five timers, as the game makes them
// (GameClock::kMade): precise QTimers, started together. Prints, for each timer, the
// microseconds to its first call and then between one call and the next, one line a timer:
//     chlapTIME 1012 998 1105 ...
// The people spread over the house as these calls fall; tests/core takes the patterns measured
// on each platform (the desktop's, a browser page's in front and in a background tab) and plays
// them through the game's core.
//
// Usage: tick_pattern [SECONDS]   (10 by default)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "GameClock.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::stoi(argv[1]) : 10;
    struct Timer {
        QTimer timer;
        std::vector<qint64> calls;
    };
    std::array<Timer, tonovka::GameClock::TimerCount> timers;
    QElapsedTimer clock;
    clock.start();
    for (std::size_t i = 0; i < timers.size(); ++i) {
        Timer& t = timers[i];
        t.timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&t.timer, &QTimer::timeout, [&t, &clock] { t.calls.push_back(clock.nsecsElapsed() / 1000); });
        t.calls.push_back(0);
        t.timer.start(tonovka::GameClock::kMade[i].intervalMs);
    }
    QTimer::singleShot(seconds * 1000, [&] {
        for (std::size_t i = 0; i < timers.size(); ++i) {
            const Timer& t = timers[i];
            std::string line(tonovka::GameClock::kMade[i].name);
            for (std::size_t call = 1; call < t.calls.size(); ++call)
                line += ' ' + std::to_string(t.calls[call] - t.calls[call - 1]);
            std::printf("%s\n", line.c_str());
        }
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QCoreApplication::exec();
}
