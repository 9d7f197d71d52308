// tick_pattern: when the platform calls the game's five timers, as the game makes them: precise
// QTimers of 1, 1, 1000, 1000 and 400 ms, started together. Prints, for each timer, the
// microseconds between one call and the next, one line a timer:
//     chlapTIME 1012 998 1105 ...
// The people spread over the house as these calls fall; tests/core takes the patterns measured
// on each platform (the desktop's, a browser page's in front and in a background tab) and plays
// them through the game's core.
//
// Usage: tick_pattern [SECONDS]   (10 by default)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::stoi(argv[1]) : 10;
    struct Timer {
        const char* name = "";
        int interval = 0;
        QTimer timer;
        std::vector<qint64> calls;
    };
    Timer timers[5];
    const std::pair<const char*, int> made[] = {
        {"chlapTIME", 1}, {"zenaTIME", 1}, {"LidiTIME", 1000}, {"lidi2TIME", 1000}, {"Time", 400}};
    for (int i = 0; i < 5; ++i)
        std::tie(timers[i].name, timers[i].interval) = made[i];
    QElapsedTimer clock;
    clock.start();
    for (Timer& t : timers) {
        t.timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&t.timer, &QTimer::timeout, [&t, &clock] { t.calls.push_back(clock.nsecsElapsed() / 1000); });
        t.calls.push_back(0);
        t.timer.start(t.interval);
    }
    QTimer::singleShot(seconds * 1000, [&] {
        for (const Timer& t : timers) {
            std::string line = t.name;
            for (std::size_t i = 1; i < t.calls.size(); ++i)
                line += ' ' + std::to_string(t.calls[i] - t.calls[i - 1]);
            std::printf("%s\n", line.c_str());
        }
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QCoreApplication::exec();
}
