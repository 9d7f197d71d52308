// The rules of one game, driven operation by operation.

#include <QTest>

#include "DecimalText.h"
#include "GameState.h"
#include "GameTestSupport.h"

using namespace tonovka;
using namespace tonovka::test;

namespace {

// Brings the score to the given value by rescues in window 3, leaving the time raised too.
void rescueUntilScore(GameState& state, int score)
{
    for (int i = std::stoi(state.score()); i < score; ++i)
        rescueMan(state, 3);
}

void countDownTo(GameState& state, const std::string& timeLeft)
{
    for (int guard = 0; state.timeLeft() != timeLeft && guard < 10000; ++guard)
        state.countDown();
}

} // namespace

class GameStateTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbersStepByOneAndStayCanonical()
    {
        QCOMPARE(stepDecimal("9", +1), "10");
        QCOMPARE(stepDecimal("99", +1), "100");
        QCOMPARE(stepDecimal("10", -1), "9");
        QCOMPARE(stepDecimal("0", -1), "-1");
        QCOMPARE(stepDecimal("-1", +1), "0");
        QCOMPARE(stepDecimal("-10", +1), "-9");
        QCOMPARE(stepDecimal("-9", -1), "-10");
        // Past the 64-bit range the text goes on exactly, in both directions.
        QCOMPARE(stepDecimal("99999999999999999999", +1), "100000000000000000000");
        QCOMPARE(stepDecimal("-9223372036854775808", -1), "-9223372036854775809");
    }

    void gameStartsWithEmptyHouseAndStartValues()
    {
        GameState state;
        QCOMPARE(board(state), ".....|.....|.....");
        QCOMPARE(state.manCursor(), "1");
        QCOMPARE(state.womanCursor(), "7");
        QCOMPARE(state.score(), "0");
        QCOMPARE(state.timeLeft(), "50");
    }

    void cursorsRunOneToFifteenAndNeverShowSixteen()
    {
        GameState state;
        RecordingObserver seen;
        state.setObserver(&seen);
        for (int i = 0; i < 30; ++i) {
            state.advanceManCursor();
            state.advanceWomanCursor();
            QVERIFY(state.manCursor() != "16");
            QVERIFY(state.womanCursor() != "16");
        }
        QCOMPARE(state.manCursor(), "1");
        QCOMPARE(state.womanCursor(), "7");
        QCOMPARE(seen.events[2 * 13], "man 15");
        QCOMPARE(seen.events[2 * 14], "man 1");
        QCOMPARE(seen.events[2 * 8 + 1], "woman 1");
    }

    void placementPutsPersonUnderCursorAndLeavesNumbersAlone()
    {
        GameState state;
        state.placeMan();
        state.placeWoman();
        QCOMPARE(board(state), "M....|.W...|.....");
        QCOMPARE(state.score(), "0");
        QCOMPARE(state.timeLeft(), "50");
    }

    void placementReplacesWhoeverIsInTheWindow()
    {
        GameState state;
        for (int i = 0; i < 6; ++i)
            state.advanceManCursor(); // both cursors now at 7
        state.placeWoman();
        state.placeMan();
        QCOMPARE(board(state), ".....|.M...|.....");
        state.placeWoman();
        QCOMPARE(board(state), ".....|.W...|.....");
        QCOMPARE(state.score(), "0");
    }

    void clickOnEmptyWindowChangesNothing()
    {
        GameState state;
        RecordingObserver seen;
        state.setObserver(&seen);
        for (int n = 1; n <= 15; ++n)
            state.clickWindow(n);
        QCOMPARE(board(state), ".....|.....|.....");
        QCOMPARE(state.score(), "0");
        QCOMPARE(state.timeLeft(), "50");
        QVERIFY(seen.events.empty());
    }

    void rescueRaisesScoreAndTimeAndEmptiesTheWindowOnce()
    {
        GameState state;
        rescueUntilScore(state, 4);
        countDownTo(state, "10");
        state.placeWoman();
        RecordingObserver seen;
        state.setObserver(&seen);
        state.clickWindow(7);
        QCOMPARE(state.timeLeft(), "11");
        QCOMPARE(state.score(), "5");
        QCOMPARE(board(state), ".....|.....|.....");
        QCOMPARE(seen.events, (std::vector<std::string>{"window 7 .", "score 5", "time 11"}));

        state.clickWindow(7);
        QCOMPARE(state.score(), "5");
        QCOMPARE(state.timeLeft(), "11");
    }

    void clickOutsideTheHouseIsIgnored()
    {
        GameState state;
        state.placeMan();
        state.clickWindow(0);
        state.clickWindow(16);
        QCOMPARE(board(state), "M....|.....|.....");
        QCOMPARE(state.score(), "0");
    }

    void observerHearsOnlyWhatChanged()
    {
        GameState state;
        RecordingObserver seen;
        state.setObserver(&seen);
        state.advanceManCursor();
        state.placeMan();
        state.placeMan(); // a man over a man shows the same picture
        state.countDown();
        QCOMPARE(seen.events, (std::vector<std::string>{"man 2", "window 2 M", "time 49"}));
    }

    void victoryTestSkipsTheWrappingTick()
    {
        GameState state;
        rescueUntilScore(state, 210);
        RecordingObserver seen;
        state.setObserver(&seen);
        while (state.womanCursor() != "15")
            state.advanceWomanCursor();
        seen.victories = 0;
        state.advanceWomanCursor();
        QCOMPARE(state.womanCursor(), "1");
        QCOMPARE(seen.victories, 0);
        state.advanceWomanCursor();
        QCOMPARE(seen.victories, 1);
        QCOMPARE(seen.events.back(), "targetReached");
    }

    void scoreAtTargetWinsOnFourteenTicksOfFifteen()
    {
        GameState state;
        rescueUntilScore(state, 210);
        RecordingObserver seen;
        state.setObserver(&seen);
        for (int i = 0; i < 15; ++i)
            state.advanceWomanCursor();
        QCOMPARE(seen.victories, 14);
    }

    void clickThatReachesTargetReportsNothingItself()
    {
        GameState state;
        rescueUntilScore(state, 209);
        state.placeWoman();
        RecordingObserver seen;
        state.setObserver(&seen);
        state.clickWindow(7);
        QCOMPARE(state.score(), "210");
        QCOMPARE(seen.victories, 0);
        state.advanceWomanCursor();
        QCOMPARE(seen.victories, 1);
    }

    void scoreJumpingFrom209To211NeverWins()
    {
        GameState state;
        rescueUntilScore(state, 209);
        RecordingObserver seen;
        state.setObserver(&seen);
        state.advanceWomanCursor();
        rescueMan(state, 4);
        rescueMan(state, 5);
        QCOMPARE(state.score(), "211");
        for (int i = 0; i < 100; ++i)
            state.advanceWomanCursor();
        QCOMPARE(seen.victories, 0);
    }

    void timeRunsOutOnExactZeroAndCountsOnBelowIt()
    {
        GameState state;
        countDownTo(state, "1");
        RecordingObserver seen;
        state.setObserver(&seen);
        state.countDown();
        QCOMPARE(state.timeLeft(), "0");
        QCOMPARE(seen.events, (std::vector<std::string>{"time 0", "timeRanOut"}));
        state.countDown();
        QCOMPARE(state.timeLeft(), "-1");
        QCOMPARE(seen.timeOuts, 1);
    }

    void timeBroughtBackByRescuesRunsOutAgain()
    {
        GameState state;
        RecordingObserver seen;
        state.setObserver(&seen);
        countDownTo(state, "-1");
        QCOMPARE(seen.timeOuts, 1);
        rescueMan(state, 2);
        rescueMan(state, 9);
        QCOMPARE(state.timeLeft(), "1");
        state.countDown();
        QCOMPARE(state.timeLeft(), "0");
        QCOMPARE(seen.timeOuts, 2);
    }

    void clickOnEmptyWindowAtTimeZeroReportsNothing()
    {
        GameState state;
        countDownTo(state, "0");
        RecordingObserver seen;
        state.setObserver(&seen);
        state.clickWindow(8);
        QCOMPARE(state.timeLeft(), "0");
        QVERIFY(seen.events.empty());
    }

    void rescuesAfterTimeOutStillCountAndCanStillWin()
    {
        GameState state;
        RecordingObserver seen;
        state.setObserver(&seen);
        countDownTo(state, "-5");
        rescueUntilScore(state, 210);
        QCOMPARE(state.timeLeft(), "205");
        state.advanceWomanCursor();
        QCOMPARE(seen.victories, 1);
    }
};

QTEST_GUILESS_MAIN(GameStateTest)
#include "GameStateTest.moc"
