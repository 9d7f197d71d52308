// The five timers and the three menu commands, on a clock stepped by hand.

#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "GameClock.h"
#include "GameState.h"
#include "GameTestSupport.h"
#include "SteppedTimerSet.h"

using namespace tonovka;
using namespace tonovka::test;

namespace {

using Log = std::vector<std::string>;

// Writes down every switch of every timer, to check the order of a command's steps.
class LoggingTimer final : public IntervalTimer {
public:
    LoggingTimer(std::string name, Log& log) : m_name(std::move(name)), m_log(log) {}
    void setOn(bool on) override
    {
        m_on = on;
        m_log.push_back(m_name + (on ? " on" : " off"));
    }
    bool isOn() const override { return m_on; }

private:
    std::string m_name;
    Log& m_log;
    bool m_on = false;
};

struct LoggedClock {
    LoggedClock()
        : clock(state, [this](std::string_view name, int intervalMs, std::function<void()>) {
              intervals.push_back(std::string(name) + " " + std::to_string(intervalMs));
              return std::make_unique<LoggingTimer>(std::string(name), log);
          })
    {
        clock.setMenuItemsChanged([this] {
            log.push_back(std::string("menu ") + (clock.pauseItemShown() ? "P" : "-") +
                          (clock.continueItemShown() ? "C" : "-"));
        });
    }
    GameState state;
    Log log;
    Log intervals;
    GameClock clock;
};

struct SteppedGame {
    SteppedGame() { state.setObserver(&seen); }
    SteppedTimerSet timers;
    GameState state;
    RecordingObserver seen;
    GameClock clock{state, timers.factory()};
};

} // namespace

class GameClockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clockMakesFiveTimersWithTheirIntervalsAllOff()
    {
        LoggedClock game;
        QCOMPARE(game.intervals, (Log{"chlapTIME 1", "zenaTIME 1", "LidiTIME 1000", "lidi2TIME 1000", "Time 400"}));
        QVERIFY(game.log.empty());
        QVERIFY(game.clock.pauseItemShown());
        QVERIFY(!game.clock.continueItemShown());
    }

    void commandsSwitchInTheirExactOrder()
    {
        LoggedClock game;
        game.clock.newGame();
        QCOMPARE(game.log, (Log{"zenaTIME on", "chlapTIME on", "Time on", "LidiTIME on", "lidi2TIME on"}));
        game.log.clear();
        game.clock.pauseGame();
        QCOMPARE(game.log, (Log{"LidiTIME off", "lidi2TIME off", "Time off", "menu --", "menu -C"}));
        game.log.clear();
        game.clock.continueGame();
        QCOMPARE(game.log, (Log{"menu PC", "menu P-", "LidiTIME on", "lidi2TIME on", "Time on"}));
        game.log.clear();
        game.clock.stopCountdown();
        QCOMPARE(game.log, (Log{"Time off"}));
    }

    void newGameDuringPauseRunsEverythingButKeepsContinueShown()
    {
        SteppedGame game;
        game.clock.pauseGame();
        game.clock.newGame();
        QCOMPARE(game.timers.timersOn(),
                 (std::vector<std::string>{"chlapTIME", "zenaTIME", "LidiTIME", "lidi2TIME", "Time"}));
        QVERIFY(!game.clock.pauseItemShown());
        QVERIFY(game.clock.continueItemShown());
        game.clock.continueGame();
        QVERIFY(game.clock.pauseItemShown());
        QVERIFY(!game.clock.continueItemShown());
        QCOMPARE(game.timers.timersOn().size(), std::size_t(5));
    }

    void pauseBeforeAnyGameOnlySwapsTheMenu()
    {
        SteppedGame game;
        game.clock.pauseGame();
        QVERIFY(game.timers.timersOn().empty());
        QVERIFY(game.clock.continueItemShown());
        game.timers.advance(5000);
        QCOMPARE(board(game.state), ".....|.....|.....");
        QCOMPARE(game.state.timeLeft(), "50");
    }

    void continueWithoutNewGameLeavesCursorsStanding()
    {
        SteppedGame game;
        for (int i = 0; i < 209; ++i)
            rescueMan(game.state, 1);
        game.state.advanceManCursor(); // rescues walked the cursor; put it on 2
        game.clock.pauseGame();
        game.clock.continueGame();
        QCOMPARE(game.timers.timersOn(), (std::vector<std::string>{"LidiTIME", "lidi2TIME", "Time"}));
        game.timers.advance(3000);
        QCOMPARE(board(game.state), ".M...|.W...|.....");
        QCOMPARE(game.state.timeLeft(), "252");
        rescueMan(game.state, 2); // score 210, but no cursor tick tests it
        game.timers.advance(3000);
        QCOMPARE(game.seen.victories, 0);
    }

    void newGameWhileRunningChangesNothing()
    {
        SteppedGame game;
        game.clock.newGame();
        game.timers.advance(800);
        game.clock.newGame();
        game.timers.advance(400);
        QCOMPARE(game.state.timeLeft(), "47");
    }

    void timersTickAtTheirIntervalsAndTiesFollowCreationOrder()
    {
        SteppedGame game;
        game.clock.newGame();
        game.timers.advance(999);
        QCOMPARE(board(game.state), ".....|.....|.....");
        QCOMPARE(game.state.timeLeft(), "48");
        // At 1000 ms both cursors have ticked 1000 times before the placements look at them:
        // the man cursor stands at 1 + 1000 mod 15 = 11, the woman cursor at 2.
        game.timers.advance(1);
        QCOMPARE(board(game.state), ".W...|.....|M....");
        QCOMPARE(game.state.manCursor(), "11");
    }

    void pauseStopsPlacingAndCountingButNotTheCursors()
    {
        SteppedGame game;
        game.clock.newGame();
        game.timers.advance(1000);
        game.clock.pauseGame();
        const std::string timeLeft = game.state.timeLeft();
        const std::string before = board(game.state);
        game.timers.advance(5000);
        QCOMPARE(game.state.timeLeft(), timeLeft);
        QCOMPARE(board(game.state), before);
        QCOMPARE(game.state.manCursor(), "1"); // 6000 ticks from 1: 6000 mod 15 = 0
    }

    void countdownStoppedByVictoryCanBeSwitchedOnAgain()
    {
        SteppedGame game;
        game.clock.newGame();
        game.clock.stopCountdown();
        game.timers.advance(2000);
        QCOMPARE(game.state.timeLeft(), "50");
        game.clock.pauseGame();
        game.clock.continueGame();
        game.timers.advance(400);
        QCOMPARE(game.state.timeLeft(), "49");
    }

    void steppedTimersStartTheirIntervalWhenSwitchedOn()
    {
        SteppedTimerSet timers;
        auto make = timers.factory();
        std::vector<std::string> ticks;
        auto slow = make("slow", 300, [&] { ticks.push_back("slow@" + std::to_string(timers.now())); });
        auto fast = make("fast", 100, [&] { ticks.push_back("fast@" + std::to_string(timers.now())); });
        timers.advance(50);
        slow->setOn(true);
        fast->setOn(true);
        fast->setOn(true); // already on: the interval runs on
        timers.advance(300);
        QCOMPARE(ticks, (std::vector<std::string>{"fast@150", "fast@250", "slow@350", "fast@350"}));
        QCOMPARE(timers.now(), 350);
    }

    void tickCanSwitchTimersForTheTicksAfterIt()
    {
        SteppedTimerSet timers;
        auto make = timers.factory();
        int fastTicks = 0;
        std::unique_ptr<IntervalTimer> fast = make("fast", 10, [&] { ++fastTicks; });
        std::unique_ptr<IntervalTimer> stopper = make("stopper", 25, [&] { fast->setOn(false); });
        fast->setOn(true);
        stopper->setOn(true);
        timers.advance(100);
        QCOMPARE(fastTicks, 2);
        QVERIFY(!fast->isOn());
    }
};

QTEST_GUILESS_MAIN(GameClockTest)
#include "GameClockTest.moc"
