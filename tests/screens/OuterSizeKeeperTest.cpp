// The keeper of the main window's outer size: its states, and the keeper on the offscreen
// platform, where a window system stands in for a window manager that insists on a size of its
// own, and for a user who moves the window.

#include <QResizeEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "OuterSizeKeeper.h"

using namespace tonovka;

namespace {

constexpr QSize kOuterSize(504, 414);
// Long enough for the keeper to look again, and for a correction it granted to stand.
constexpr int kQuietMs = 2 * OuterSizeKeeper::kLookAgainMs;

using enum KeeperPhase;

// Answers every resize to a size not its own with one of its own sizes, in turn, as a tiling
// window manager answers a window that it tiles: at once, or a moment after it has granted it.
class InsistingWindowSystem final : public QObject {
public:
    InsistingWindowSystem(QWindow& window, QList<QSize> own, bool grantsFirst)
        : m_window(window), m_own(std::move(own)), m_grantsFirst(grantsFirst)
    {
        // After the keeper has seen the grant; it falls due before the keeper's look again,
        // however late the event loop comes to either.
        static_assert(kAnswerMs < OuterSizeKeeper::kLookAgainMs);
        m_answer.setSingleShot(true);
        m_answer.setInterval(kAnswerMs);
        connect(&m_answer, &QTimer::timeout, this, &InsistingWindowSystem::answer);
        window.installEventFilter(this);
    }
    int answers = 0;
    bool insisting = true;
    static constexpr int kAnswerMs = 50;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && !m_own.contains(m_window.size())) {
            if (!m_grantsFirst)
                answer();
            else if (!m_answer.isActive())
                m_answer.start();
        }
        return false;
    }

private:
    void answer()
    {
        if (insisting)
            m_window.resize(m_own.at(answers++ % m_own.size()));
    }

    QWindow& m_window;
    const QList<QSize> m_own;
    const bool m_grantsFirst;
    QTimer m_answer;
};

// Loses the window system's first report of a resize to the given size, as a busy window manager
// may never send one, so that neither the window nor the widget hears of it.
class ReportDropper final : public QObject {
public:
    ReportDropper(QWindow& window, QSize lost) : m_lost(lost) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Resize || static_cast<QResizeEvent*>(event)->size() != m_lost)
            return false;
        m_lost = QSize();
        return true;
    }

private:
    QSize m_lost;
};

// A window whose outer size is held, shown and settled at that size.
struct HeldWindow {
    HeldWindow()
    {
        window.setWindowTitle(QStringLiteral("held"));
        window.show();
    }
    // The widget hears of the window system's changes only after the window does.
    bool settled() const
    {
        return window.frameGeometry().size() == kOuterSize &&
               window.windowHandle()->frameGeometry().size() == kOuterSize;
    }
    QWindow& handle() { return *window.windowHandle(); }

    QWidget window;
    OuterSizeKeeper* keeper = new OuterSizeKeeper(window, kOuterSize);
};

} // namespace

class OuterSizeKeeperTest : public QObject {
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

    void leavesTheWindowToAWindowManagerThatInsists_data()
    {
        QTest::addColumn<QList<QSize>>("own");
        QTest::addColumn<bool>("grantsFirst");
        QTest::newRow("on one size") << QList<QSize>{QSize(640, 480)} << false;
        QTest::newRow("on two sizes in turn") << QList<QSize>{QSize(640, 480), QSize(641, 480)} << false;
        QTest::newRow("granting each correction, then on two sizes in turn")
            << QList<QSize>{QSize(640, 480), QSize(641, 480)} << true;
    }

    void leavesTheWindowToAWindowManagerThatInsists()
    {
        QFETCH(QList<QSize>, own);
        QFETCH(bool, grantsFirst);
        HeldWindow held;
        QTRY_COMPARE(held.keeper->phase(), Held);
        InsistingWindowSystem windowSystem(held.handle(), own, grantsFirst);
        held.handle().resize(640, 480);
        // Left alone, the two would resize each other without end.
        QTRY_COMPARE(held.keeper->phase(), Resting);
        QTest::qWait(kQuietMs);
        QCOMPARE(held.keeper->phase(), Resting);
        QVERIFY2(windowSystem.answers > 0 && windowSystem.answers <= kMaxCorrections,
                 qPrintable(QStringLiteral("%1 corrections answered").arg(windowSystem.answers)));
        QVERIFY(own.contains(held.handle().size()));

        // A new change of the window manager's is corrected again.
        windowSystem.insisting = false;
        held.handle().resize(300, 200);
        QTRY_VERIFY(held.settled());
        QTRY_COMPARE(held.keeper->phase(), Held);
    }

    void keepsWhereTheUserMovesItJustAfterACorrection_data()
    {
        QTest::addColumn<bool>("reportLost");
        QTest::newRow("the correction reported") << false;
        QTest::newRow("the correction's report lost") << true;
    }

    void keepsWhereTheUserMovesItJustAfterACorrection()
    {
        QFETCH(bool, reportLost);
        HeldWindow held;
        // Only once the keeper holds the window is the resize below a new change. Before, it answers
        // the keeper's first correction, and where the window system reports it only after the
        // keeper has looked (offscreen on Windows), that correction's report stands in for the lost.
        QTRY_COMPARE(held.keeper->phase(), Held);
        const QSize heldClient = held.handle().size();
        ReportDropper dropper(held.handle(), reportLost ? heldClient : QSize());
        held.handle().resize(700, 600);
        QTRY_VERIFY(held.settled());
        // Until the window system reports the correction, a move is the window manager's.
        QTRY_VERIFY(held.keeper->phase() != Correcting);
        const QPoint corrected = held.window.frameGeometry().topLeft();
        const QPoint moved = corrected + QPoint(37, 23);
        held.handle().setFramePosition(moved);
        QTRY_COMPARE(held.window.frameGeometry().topLeft(), moved);
        // Whatever comes next, such as the keeper's next look, leaves it there.
        QTest::qWait(kQuietMs);
        QCOMPARE(held.window.frameGeometry().topLeft(), moved);
        QVERIFY(held.settled());
    }
};

QTEST_MAIN(OuterSizeKeeperTest)
#include "OuterSizeKeeperTest.moc"
