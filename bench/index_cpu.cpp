// index_cpu: what a running game costs, against a bare Qt program, in one process.
//
// Each phase runs for --seconds (10 by default) after a short settling time:
//   bare    two 1 ms precise QTimers that do nothing, and no window;
//   game    the real main window, shown, with a new game running on the program's own Qt timers
//           and the real audio service, so the music plays (or not) as SDL_AUDIODRIVER lets it;
//   paused  the same game paused: only the two cursor timers tick, so nothing visible changes;
//   spread  (its own run: --phases spread) a new game until 30 men and 30 women have been placed;
//           it prints the windows they went to and how many differ.
// A game runs out of time 20 s after it starts, so "game" must stay shorter than that; the
// pause stops the countdown.
// Process CPU (all threads) comes from getrusage, the X server's from /proc/PID/stat when
// --xserver-pid is given. An application event filter counts the paint events of every widget.
// The timers are the program's QtIntervalTimer, made through a factory that also counts the
// cursor ticks and notes the cursor at each placement. Run it with -platform xcb or offscreen.
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AppShell.h"
#include "MainWindow.h"
#include "PictureSet.h"
#include "QtIntervalTimer.h"
#include "SdlAudioService.h"
#include "ScreenFactory.h"

namespace {

using namespace tonovka;

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// utime + stime of another process, in seconds; 0 when it cannot be read.
double otherProcessCpuSeconds(long pid)
{
    if (pid <= 0)
        return 0;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int n = 3; fields >> field && n <= 15; ++n) // fields 14 and 15: utime, stime
        if (n >= 14)
            ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Counts the paint events of every widget, by object name.
class PaintCounter final : public QObject {
public:
    int total = 0;
    QMap<QString, int> byWidget;

    void reset()
    {
        total = 0;
        byWidget.clear();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            ++total;
            ++byWidget[watched->objectName()];
        }
        return false;
    }
};

struct Counters {
    long manTicks = 0;
    long womanTicks = 0;
    std::vector<int> menAt;
    std::vector<int> womenAt;
    const GameState* state = nullptr;
};

struct Phase {
    std::string name;
    double cpuPercent = 0;
    double xPercent = 0;
    double paintsPerSecond = 0;
    double manTicksPerSecond = 0;
    double womanTicksPerSecond = 0;
    QMap<QString, int> paints;
};

class Bench {
public:
    Bench(QStringList phases, int seconds, long xPid)
        : m_phases(std::move(phases)), m_seconds(seconds), m_xPid(xPid),
          m_shell(screenFactory(m_shell, m_pictures, m_audio, makeTimer()), [] {})
    {
        qApp->installEventFilter(&m_paints);
    }

    void runNextPhase()
    {
        if (m_phases.isEmpty()) {
            report();
            QApplication::exit(0);
            return;
        }
        const QString phase = m_phases.takeFirst();
        if (phase == QLatin1String("bare")) {
            startBareTimers();
            measure("bare", [this] { m_bareTimers.clear(); });
        } else if (phase == QLatin1String("game")) {
            mainWindow().clock().newGame();
            measure("game", [] {});
        } else if (phase == QLatin1String("paused")) {
            if (!mainWindow().clock().isOn(GameClock::chlapTIME))
                mainWindow().clock().newGame();
            mainWindow().clock().pauseGame();
            measure("paused", [] {});
        } else if (phase == QLatin1String("spread")) {
            mainWindow().clock().newGame();
            waitForPlacements();
        } else {
            std::fprintf(stderr, "unknown phase %s\n", qPrintable(phase));
            QApplication::exit(2);
        }
    }

private:
    // The main window as the program makes it, shown; made on first use.
    MainWindow& mainWindow()
    {
        if (!m_shell.screen(ScreenId::index)) {
            m_shell.showScreen(ScreenId::index);
            m_counters.state = &window().state();
        }
        return window();
    }

    MainWindow& window() { return *static_cast<MainWindow*>(m_shell.screen(ScreenId::index)); }

    // The program's own timers; the cursor ticks are counted and each placement notes the cursor.
    IntervalTimerFactory makeTimer()
    {
        return [this](std::string_view name, int ms, std::function<void()> tick) {
            std::function<void()> counted = tick;
            Counters& c = m_counters;
            if (name == "chlapTIME")
                counted = [tick, &c] {
                    tick();
                    ++c.manTicks;
                };
            else if (name == "zenaTIME")
                counted = [tick, &c] {
                    tick();
                    ++c.womanTicks;
                };
            else if (name == "LidiTIME")
                counted = [tick, &c] {
                    tick();
                    c.menAt.push_back(std::stoi(c.state->manCursor()));
                };
            else if (name == "lidi2TIME")
                counted = [tick, &c] {
                    tick();
                    c.womenAt.push_back(std::stoi(c.state->womanCursor()));
                };
            return QtIntervalTimer::make(name, ms, std::move(counted));
        };
    }

    void startBareTimers()
    {
        for (long* ticks : {&m_counters.manTicks, &m_counters.womanTicks}) {
            auto timer = std::make_unique<QTimer>();
            timer->setTimerType(Qt::PreciseTimer);
            timer->setInterval(1);
            QObject::connect(timer.get(), &QTimer::timeout, [ticks] { ++*ticks; });
            timer->start();
            m_bareTimers.push_back(std::move(timer));
        }
    }

    // Lets the phase settle for half a second, then measures it for m_seconds.
    void measure(std::string name, std::function<void()> done)
    {
        QTimer::singleShot(500, [this, name, done] {
            const double cpu0 = processCpuSeconds();
            const double x0 = otherProcessCpuSeconds(m_xPid);
            const long man0 = m_counters.manTicks, woman0 = m_counters.womanTicks;
            m_paints.reset();
            auto wall = std::make_shared<QElapsedTimer>();
            wall->start();
            QTimer::singleShot(m_seconds * 1000, Qt::PreciseTimer, [=, this] {
                const double s = static_cast<double>(wall->nsecsElapsed()) / 1e9;
                Phase p{name,
                        100 * (processCpuSeconds() - cpu0) / s,
                        100 * (otherProcessCpuSeconds(m_xPid) - x0) / s,
                        m_paints.total / s,
                        static_cast<double>(m_counters.manTicks - man0) / s,
                        static_cast<double>(m_counters.womanTicks - woman0) / s,
                        m_paints.byWidget};
                m_results.push_back(p);
                done();
                runNextPhase();
            });
        });
    }

    void waitForPlacements()
    {
        auto poll = std::make_shared<QTimer>();
        poll->setInterval(100);
        QObject::connect(poll.get(), &QTimer::timeout, [this, poll] {
            if (m_counters.menAt.size() < kPlacements || m_counters.womenAt.size() < kPlacements)
                return;
            poll->stop();
            m_spread = true;
            runNextPhase();
        });
        poll->start();
    }

    void report() const
    {
        const QByteArray platform = QGuiApplication::platformName().toLatin1();
        if (!m_results.empty()) {
            std::printf("index_cpu on %s, %d s a phase\n", platform.constData(), m_seconds);
            std::printf("%-8s %10s %10s %10s %12s %14s\n", "phase", "CPU %core", "X CPU %", "paints/s", "man ticks/s",
                        "woman ticks/s");
            for (const Phase& p : m_results)
                std::printf("%-8s %10.2f %10.2f %10.2f %12.1f %14.1f\n", p.name.c_str(), p.cpuPercent, p.xPercent,
                            p.paintsPerSecond, p.manTicksPerSecond, p.womanTicksPerSecond);
            for (const Phase& p : m_results) {
                if (p.paints.isEmpty())
                    continue;
                std::printf("painted in %s:", p.name.c_str());
                for (auto it = p.paints.begin(); it != p.paints.end(); ++it)
                    std::printf(" %s=%d", it.key().isEmpty() ? "(unnamed)" : qPrintable(it.key()), it.value());
                std::printf("\n");
            }
            for (const Phase& p : m_results)
                std::printf("result %s cpu=%.3f xcpu=%.3f paints=%.3f manticks=%.1f womanticks=%.1f\n", p.name.c_str(),
                            p.cpuPercent, p.xPercent, p.paintsPerSecond, p.manTicksPerSecond, p.womanTicksPerSecond);
        }
        if (m_spread) {
            for (const auto& [who, at] :
                 {std::pair{"men", &m_counters.menAt}, std::pair{"women", &m_counters.womenAt}}) {
                const std::vector<int> first(at->begin(), at->begin() + kPlacements);
                std::printf("%s placed in windows:", who);
                for (int n : first)
                    std::printf(" %d", n);
                std::printf("\nresult spread %s=%zu\n", who, std::set<int>(first.begin(), first.end()).size());
            }
            // The two cursors tick in step, so the woman's window follows from the man's.
            std::map<int, int> offsets;
            for (std::size_t i = 0; i < kPlacements; ++i)
                ++offsets[(m_counters.womenAt[i] - m_counters.menAt[i] + 15) % 15];
            const auto common =
                std::max_element(offsets.begin(), offsets.end(), [](auto a, auto b) { return a.second < b.second; });
            std::printf("woman placed %d windows after the man (mod 15) in %d of %zu placements\n", common->first,
                        common->second, kPlacements);
        }
        // Accessibility being on makes every label text change build an accessibility event.
        std::printf("accessibility active: %s\n", QAccessible::isActive() ? "yes" : "no");
        std::fflush(stdout);
    }

    static constexpr std::size_t kPlacements = 30;

    QStringList m_phases;
    int m_seconds;
    long m_xPid;
    PaintCounter m_paints;
    Counters m_counters;
    std::vector<std::unique_ptr<QTimer>> m_bareTimers;
    PictureSet m_pictures;
    SdlAudioService m_audio;
    AppShell m_shell; // made last: its screens use the pictures and the audio above
    std::vector<Phase> m_results;
    bool m_spread = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QStringList phases{QStringLiteral("bare"), QStringLiteral("game"), QStringLiteral("paused")};
    int seconds = 10;
    long xPid = 0;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--phases"))
            phases = args[i + 1].split(QLatin1Char(','));
        else if (args[i] == QLatin1String("--seconds"))
            seconds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--xserver-pid"))
            xPid = args[i + 1].toLong();
    }
    Bench bench(phases, seconds, xPid);
    QTimer::singleShot(0, [&bench] { bench.runNextPhase(); });
    return QApplication::exec();
}
