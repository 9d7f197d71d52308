// The keeper of the main window's outer size: what it does on what it finds, in each of its states.

#include <QTest>

#include "OuterSizeStates.h"

using namespace tonovka;
using enum KeeperPhase;

class OuterSizeStatesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void movesFromStateToState_data()
    {
        QTest::addColumn<KeeperState>("state");
        QTest::addColumn<KeeperSight>("sight");
        QTest::addColumn<bool>("lookingAgain");
        QTest::addColumn<KeeperState>("next");
        QTest::addColumn<KeeperAction>("action");
        const auto row = [](const char* name, KeeperState state, KeeperSight sight, bool lookingAgain, KeeperState next,
                            KeeperAction action) {
            QTest::newRow(name) << state << sight << lookingAgain << next << action;
        };
        using enum KeeperSight;
        using enum KeeperAction;
        constexpr bool now = false; // a report set the look off
        constexpr bool again = true;
        const KeeperState newChange{Correcting, 1};
        const KeeperState resting{Resting, kMaxCorrections};
        row("unplaced, given another: corrects", {Unplaced, 0}, Given, now, newChange, BeginCorrecting);
        row("unplaced, given its own", {Unplaced, 0}, Reported, now, {Held, 0}, None);
        row("unplaced, moved: not the user's yet", {Unplaced, 0}, MovedHeld, now, {Unplaced, 0}, None);
        row("held, given another: a new change", {Held, 0}, Given, now, newChange, BeginCorrecting);
        row("held, given the last change's: a new one", {Held, 0}, GivenAgain, now, newChange, BeginCorrecting);
        row("held, the widget maximised: a new change", {Held, 0}, WidgetAstray, now, newChange, BeginCorrecting);
        row("held, given its own", {Held, 0}, Reported, now, {Held, 0}, None);
        row("held, moved: the user's", {Held, 0}, MovedHeld, now, {Held, 0}, TakePlace);
        row("correcting, answered with another", {Correcting, 2}, Given, now, {Correcting, 3}, CorrectAgain);
        row("correcting, answered as before", {Correcting, 2}, GivenAgain, again, {Correcting, 3}, CorrectAgain);
        row("correcting for the last time, answered", {Correcting, kMaxCorrections}, Given, now, resting, GiveIn);
        row("correcting, granted", {Correcting, 2}, Reported, now, {JustGranted, 2}, AwaitAnswer);
        row("correcting, moved: fitting the frame", {Correcting, 2}, MovedHeld, now, {Correcting, 2}, None);
        row("correcting, the widget not told yet", {Correcting, 2}, WidgetAstray, now, {Correcting, 2}, None);
        row("correcting, not reported yet", {Correcting, 2}, Unreported, now, {Correcting, 2}, None);
        row("correcting, the widget never told", {Correcting, 2}, WidgetAstray, again, {JustGranted, 2}, TakeQtsWord);
        row("correcting, never reported", {Correcting, 2}, Unreported, again, {JustGranted, 2}, TakeQtsWord);
        row("correcting, unseen: looks on", {Correcting, 2}, Unseen, again, {Correcting, 2}, AwaitAnswer);
        row("granted, then given another", {JustGranted, 2}, Given, now, {Correcting, 3}, CorrectAgain);
        row("granted the last time, given another", {JustGranted, kMaxCorrections}, GivenAgain, again, resting, GiveIn);
        row("granted, told again", {JustGranted, 2}, Reported, now, {JustGranted, 2}, None);
        row("granted, and it stood", {JustGranted, 2}, Reported, again, {Held, 0}, None);
        row("granted, and it stood unseen", {JustGranted, 2}, Unseen, again, {Held, 0}, None);
        row("resting, given the same change's", resting, GivenAgain, now, resting, None);
        row("resting, given a new one", resting, Given, now, newChange, BeginCorrecting);
        row("resting, given its own back", resting, Reported, now, {Held, 0}, None);
    }

    void movesFromStateToState()
    {
        QFETCH(KeeperState, state);
        QFETCH(KeeperSight, sight);
        QFETCH(bool, lookingAgain);
        QFETCH(KeeperState, next);
        QFETCH(KeeperAction, action);
        const KeeperStep step = nextKeeperStep(state, sight, lookingAgain);
        QCOMPARE(step.state.phase, next.phase);
        QCOMPARE(step.state.corrections, next.corrections);
        QCOMPARE(step.action, action);
    }
};

QTEST_MAIN(OuterSizeStatesTest)
#include "OuterSizeStatesTest.moc"
