// Where people appear depends on when the platform calls the game's timers. These tests play the
// calls measured on each platform (tick-patterns/) through the game's core, for 10,000
// appearances, and compare the windows they land in, by a chi-square test of homogeneity: on the
// desktop each call is one tick; in a page each call moves the timer's own stepped clock on to
// the milliseconds that have passed, as the web build's timers do.

#include <QtTest>

#include <array>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "GameClock.h"
#include "GameState.h"
#include "SteppedTimerSet.h"

namespace tonovka {

namespace {

using Counts = std::array<double, GameState::kWindowCount>;
enum class Calls { OneTickEach, TimeThatPassed, OneClockForAll };

// The microseconds between calls of the cursor timers and of the placement timers.
struct Pattern {
    std::vector<std::int64_t> cursor;
    std::vector<std::int64_t> placement;
};

Pattern pattern(const char* name)
{
    std::ifstream file(std::string(TONOVKA_TICK_PATTERNS) + "/" + name + ".txt");
    Pattern read;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        std::string timer;
        words >> timer;
        auto& into = timer == "chlapTIME" ? read.cursor : read.placement;
        for (std::int64_t micros = 0; words >> micros;)
            into.push_back(micros);
    }
    return read;
}

// A timer of the game on a stepped clock of its own, which each of the platform's calls moves on:
// by one interval, one tick a call, as a desktop's timer ticks; or to the milliseconds that have
// passed, as a page's timer does. Or, as a page's timers might have been made, on one clock that
// every call moves on, so that every placement falls on a whole second of the cursors' clock.
class CalledTimer final : public IntervalTimer {
public:
    CalledTimer(int intervalMs, std::function<void()> tick, Calls calls, SteppedTimerSet& shared)
        : m_tick(tick), m_calls(calls), m_clock(calls == Calls::OneClockForAll ? shared : m_own),
          m_ticks(m_clock.factory()("", intervalMs, std::move(tick)))
    {
    }
    void setOn(bool on) override { m_ticks->setOn(on); }
    bool isOn() const override { return m_ticks->isOn(); }

    void call(std::int64_t nowMicros)
    {
        if (!isOn())
            return;
        if (m_calls == Calls::OneTickEach)
            m_tick();
        else
            m_clock.advance(nowMicros / 1000 - m_clock.now());
    }

private:
    const std::function<void()> m_tick;
    const Calls m_calls;
    SteppedTimerSet m_own;
    SteppedTimerSet& m_clock;
    std::unique_ptr<IntervalTimer> m_ticks;
};

// Plays a game whose countdown is held until people have appeared that many times, and counts
// the windows they appeared in.
Counts spread(const Pattern& calls, Calls how, int appearances)
{
    GameState state;
    SteppedTimerSet shared;
    std::map<std::string, CalledTimer*> timers;
    Counts counts{};
    int seen = 0;
    const IntervalTimerFactory factory = [&](std::string_view name, int intervalMs, std::function<void()> tick) {
        // A placement puts its person where its cursor stands.
        const std::string& cursor = name == "LidiTIME" ? state.manCursor() : state.womanCursor();
        if (name == "LidiTIME" || name == "lidi2TIME")
            tick = [&counts, &seen, &cursor, place = std::move(tick)] {
                counts[static_cast<std::size_t>(std::stoi(cursor) - 1)] += 1;
                ++seen;
                place();
            };
        auto timer = std::make_unique<CalledTimer>(intervalMs, std::move(tick), how, shared);
        timers[std::string(name)] = timer.get();
        return std::unique_ptr<IntervalTimer>(std::move(timer));
    };
    GameClock clock(state, factory);
    clock.newGame();
    clock.stopCountdown();
    CalledTimer* const man = timers["chlapTIME"];
    CalledTimer* const woman = timers["zenaTIME"];
    CalledTimer* const placeMan = timers["LidiTIME"];
    CalledTimer* const placeWoman = timers["lidi2TIME"];

    // The two cursors are called in one pass, and so are the two placements.
    std::size_t cursorAt = 0, placementAt = 0;
    std::int64_t cursorTime = calls.cursor[0], placementTime = calls.placement[0];
    while (seen < appearances) {
        if (cursorTime <= placementTime) {
            man->call(cursorTime);
            woman->call(cursorTime);
            cursorTime += calls.cursor[++cursorAt % calls.cursor.size()];
        } else {
            placeMan->call(placementTime);
            placeWoman->call(placementTime);
            placementTime += calls.placement[++placementAt % calls.placement.size()];
        }
    }
    return counts;
}

// Pearson's chi-square statistic of homogeneity of two samples over the same windows.
double chiSquare(const Counts& a, const Counts& b)
{
    double totalA = 0, totalB = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        totalA += a[i], totalB += b[i];
    double statistic = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double both = a[i] + b[i];
        if (both == 0)
            continue;
        const double expectedA = both * totalA / (totalA + totalB), expectedB = both * totalB / (totalA + totalB);
        statistic += (a[i] - expectedA) * (a[i] - expectedA) / expectedA + (b[i] - expectedB) * (b[i] - expectedB) / expectedB;
    }
    return statistic;
}

// Fourteen degrees of freedom: the value that two samples of one spread pass but once in a
// thousand.
constexpr double kAlikeAtMost = 36.12;

} // namespace

class PeopleSpreadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_desktop = spread(pattern("linux"), Calls::OneTickEach, 10000); }

    void spreadsAsOnTheDesktop_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("calls");
        QTest::addColumn<bool>("alike");
        QTest::newRow("a page in front") << "page" << int(Calls::TimeThatPassed) << true;
        QTest::newRow("a page behind another tab") << "background-tab" << int(Calls::TimeThatPassed) << true;
        // Exactly 1000 cursor steps between placements, 10 windows on: the same few windows.
        QTest::newRow("a page's timers on one clock") << "page" << int(Calls::OneClockForAll) << false;
    }

    void spreadsAsOnTheDesktop()
    {
        QFETCH(QString, page);
        QFETCH(int, calls);
        QFETCH(bool, alike);
        const Counts& desktop = m_desktop;
        const Counts inThePage = spread(pattern(qPrintable(page)), Calls(calls), 10000);
        QString table;
        for (std::size_t i = 0; i < desktop.size(); ++i)
            table += QStringLiteral(" %1:%2/%3").arg(i + 1).arg(desktop[i]).arg(inThePage[i]);
        const double statistic = chiSquare(desktop, inThePage);
        qInfo("window:desktop/page%s; chi-square %.1f", qPrintable(table), statistic);
        QCOMPARE(statistic <= kAlikeAtMost, alike);
    }

private:
    Counts m_desktop{};
};

} // namespace tonovka

QTEST_GUILESS_MAIN(tonovka::PeopleSpreadTest)
#include "PeopleSpreadTest.moc"
