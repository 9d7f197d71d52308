// Where people appear depends on when the platform calls the game's timers. These tests play the
// calls measured on each platform (tick-patterns/) through the game's core, each in its place
// (CallTimes), for 10,000 appearances, and compare the windows they land in, by a chi-square test
// of homogeneity: on the desktop each call is one tick; in a page each call is one of the page's
// calls of its timer (shell/ElapsedIntervalTimer), which ticks as often as its interval went by.

#include <QtTest>

#include <array>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ElapsedIntervalTimer.h"
#include "GameClock.h"
#include "GameState.h"
#include "SteppedTimerSet.h"

namespace tonovka {

namespace {

using Counts = std::array<double, GameState::kWindowCount>;
enum class Calls { OneTickEach, TimeThatPassed, OneClockForAll };

// The cursor timers' calls and the placement timers': the microseconds to the first, then between
// one and the next; and what the file lacks for a game to be played with them.
struct Pattern {
    std::vector<std::int64_t> cursor;
    std::vector<std::int64_t> placement;
    std::string lack;
};

Pattern pattern(const char* name)
{
    const std::string path = std::string(TONOVKA_TICK_PATTERNS) + "/" + name + ".txt";
    std::ifstream file(path);
    Pattern read;
    const std::map<std::string, std::vector<std::int64_t>*> timers{{"chlapTIME", &read.cursor},
                                                                   {"LidiTIME", &read.placement}};
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        std::istringstream words(line);
        std::string timer;
        words >> timer;
        const auto into = timers.find(timer);
        for (std::int64_t micros = 0; into != timers.end() && words >> micros;)
            into->second->push_back(micros);
        if (into == timers.end() || !words.eof()) {
            read.lack = path + ":" + std::to_string(number) + ": not the microseconds of chlapTIME or LidiTIME";
            return read;
        }
    }
    if (read.cursor.size() < 2 || read.placement.size() < 2)
        read.lack =
            path + (file.is_open() ? ": fewer than two calls of chlapTIME, or of LidiTIME" : ": cannot be read");
    return read;
}

// When a timer is called, in microseconds since the page began: the calls measured, then the same
// again a cycle later, and so on. A cycle lasts from the first call measured to the last, rounded
// to whole milliseconds, the unit of the page's clock, so that every call keeps its place within
// its millisecond as measured. Behind another tab the browser called each timer once a second, at
// the same moment of the second; cycled as it was cut, that sample's 9,999.6 ms would move the
// calls 0.4 ms earlier each time round, 400 ms over a run, and read the cursors ever earlier: a
// drift that the page does not have.
class CallTimes {
public:
    explicit CallTimes(const std::vector<std::int64_t>& measured) // the first call, then the intervals
    {
        std::int64_t at = 0;
        for (const std::int64_t micros : measured)
            m_calls.push_back(at += micros);
        m_cycle = (m_calls.back() - m_calls.front() + 500) / 1000 * 1000;
        m_calls.pop_back(); // the next cycle's first
    }

    std::int64_t operator[](std::size_t call) const
    {
        return m_calls[call % m_calls.size()] + static_cast<std::int64_t>(call / m_calls.size()) * m_cycle;
    }

private:
    std::vector<std::int64_t> m_calls;
    std::int64_t m_cycle = 0;
};

// Plays a game whose countdown is held until people have appeared that many times, and counts
// the windows they appeared in. One of the platform's calls, while its timer is on, ticks it
// once, as a desktop's timer ticks; or, as the page's own timer does, catches up with the page's
// clock. Or, as a page's timers might have been made, it moves one stepped clock that all the
// timers share, so that every placement falls on a whole second of the cursors' clock.
Counts spread(const Pattern& calls, Calls how, int appearances)
{
    GameState state;
    SteppedTimerSet shared, idle; // idle never moves: its timers only keep whether they are on
    std::int64_t pageMs = 0;      // since the page began, at the call being made
    using Called = std::pair<IntervalTimer*, std::function<void()>>; // a timer, and what a call does
    std::map<std::string, Called> timers;
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
        std::unique_ptr<IntervalTimer> timer;
        std::function<void()> call;
        if (how == Calls::TimeThatPassed) {
            auto page =
                std::make_unique<ElapsedIntervalTimer>(name, intervalMs, std::move(tick), [&pageMs] { return pageMs; });
            call = [page = page.get()] { page->catchUp(); };
            timer = std::move(page);
        } else if (how == Calls::OneClockForAll) {
            timer = shared.factory()(name, intervalMs, std::move(tick));
            call = [&shared, &pageMs] { shared.advance(pageMs - shared.now()); };
        } else {
            timer = idle.factory()(name, intervalMs, tick);
            call = std::move(tick);
        }
        timers[std::string(name)] = {timer.get(), std::move(call)};
        return timer;
    };
    GameClock clock(state, factory);
    clock.newGame();
    clock.stopCountdown();
    // The two cursors are called in one pass, and so are the two placements.
    using Pass = std::array<Called*, 2>;
    const Pass cursors{&timers["chlapTIME"], &timers["zenaTIME"]},
        placements{&timers["LidiTIME"], &timers["lidi2TIME"]};
    const auto callAt = [&pageMs](std::int64_t micros, const Pass& pass) {
        pageMs = micros / 1000;
        for (Called* timer : pass)
            if (timer->first->isOn())
                timer->second();
    };
    const CallTimes cursorCalls(calls.cursor), placementCalls(calls.placement);
    for (std::size_t cursorAt = 0, placementAt = 0; seen < appearances;) {
        if (cursorCalls[cursorAt] <= placementCalls[placementAt])
            callAt(cursorCalls[cursorAt++], cursors);
        else
            callAt(placementCalls[placementAt++], placements);
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
    void initTestCase()
    {
        const Pattern desktop = pattern("linux");
        QVERIFY2(desktop.lack.empty(), desktop.lack.c_str());
        m_desktop = spread(desktop, Calls::OneTickEach, 10000);
    }

    void spreadsAsOnTheDesktop_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("calls");
        QTest::addColumn<bool>("alike");
        QTest::newRow("a page in front") << "page" << int(Calls::TimeThatPassed) << true;
        // Behind another tab, and on one clock, the cursors are read on whole seconds, exactly
        // 1000 steps apart, 10 windows on: each person lands in the same 3 windows.
        QTest::newRow("a page behind another tab") << "background-tab" << int(Calls::TimeThatPassed) << false;
        QTest::newRow("a page's timers on one clock") << "page" << int(Calls::OneClockForAll) << false;
    }

    void spreadsAsOnTheDesktop()
    {
        QFETCH(QString, page);
        QFETCH(int, calls);
        QFETCH(bool, alike);
        const Counts& desktop = m_desktop;
        const Pattern pageCalls = pattern(qPrintable(page));
        QVERIFY2(pageCalls.lack.empty(), pageCalls.lack.c_str());
        const Counts inThePage = spread(pageCalls, Calls(calls), 10000);
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
