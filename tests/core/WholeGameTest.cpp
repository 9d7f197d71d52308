// A whole game played from a stepped clock, as the main window and the victory screen would
// play it: every person that appears is rescued within the second.

#include <QTest>

#include "DecimalText.h"
#include "GameClock.h"
#include "GameState.h"
#include "GameTestSupport.h"
#include "SteppedTimerSet.h"

using namespace tonovka;
using namespace tonovka::test;

namespace {

// Plays the part of the screens: the first victory stops the countdown, as the victory
// screen does when it loads; later ones change nothing.
class Screens final : public GameStateObserver {
public:
    explicit Screens(GameClock*& clock) : m_clock(clock) {}
    void timeRanOut() override { ++timeOuts; }
    void targetReached() override
    {
        if (++victories == 1)
            m_clock->stopCountdown();
    }
    int timeOuts = 0;
    int victories = 0;

private:
    GameClock*& m_clock;
};

bool rescueOne(GameState& state)
{
    for (int n = 1; n <= GameState::kWindowCount; ++n) {
        if (state.window(n) != Occupant::Empty) {
            state.clickWindow(n);
            return true;
        }
    }
    return false;
}

int rescueEveryone(GameState& state)
{
    int rescued = 0;
    for (int n = 1; n <= GameState::kWindowCount; ++n) {
        if (state.window(n) != Occupant::Empty) {
            state.clickWindow(n);
            ++rescued;
        }
    }
    return rescued;
}

} // namespace

class WholeGameTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gameRunsFromNewGameThroughFloodToVictory()
    {
        SteppedTimerSet timers;
        GameState state;
        GameClock* clockRef = nullptr;
        Screens screens(clockRef);
        state.setObserver(&screens);
        GameClock clock(state, timers.factory());
        clockRef = &clock;

        // Nothing moves before a new game.
        timers.advance(10000);
        QCOMPARE(board(state), ".....|.....|.....");

        clock.newGame();
        timers.advance(1000);
        QCOMPARE(board(state), ".W...|.....|M....");
        QCOMPARE(rescueEveryone(state), 2);
        QCOMPARE(state.score(), "2");
        QCOMPARE(state.timeLeft(), "50"); // two ticks down, two rescues up

        // Left alone, the time runs out on the exact tick: 50 more ticks of 400 ms.
        timers.advance(19799);
        QCOMPARE(state.timeLeft(), "1");
        QCOMPARE(screens.timeOuts, 0);
        timers.advance(1);
        QCOMPARE(state.timeLeft(), "0");
        QCOMPARE(screens.timeOuts, 1);

        // Play goes on under the water: people still appear and the time falls below zero.
        timers.advance(1000);
        QCOMPARE(state.timeLeft(), "-2");
        QVERIFY(board(state) != ".....|.....|.....");

        // Rescue one person every half second, so that every score is seen by the victory
        // test, until the victory screen would open.
        for (int steps = 0; screens.victories == 0 && steps < 1000; ++steps) {
            rescueOne(state);
            timers.advance(500);
        }
        QCOMPARE(state.score(), "210");
        QVERIFY(screens.victories > 0);
        QVERIFY(!clock.isOn(GameClock::Time));
        QVERIFY(clock.isOn(GameClock::LidiTIME));

        // The countdown stays stopped; later victories do not stop it again once it is back on.
        const std::string timeLeft = state.timeLeft();
        timers.advance(2000);
        QCOMPARE(state.timeLeft(), timeLeft);
        const int victoriesBefore = screens.victories;
        clock.newGame();
        timers.advance(400);
        QVERIFY(screens.victories > victoriesBefore);
        QVERIFY(clock.isOn(GameClock::Time));
        QCOMPARE(state.timeLeft(), stepDecimal(timeLeft, -1));
    }
};

QTEST_GUILESS_MAIN(WholeGameTest)
#include "WholeGameTest.moc"
