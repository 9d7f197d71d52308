// The keeper of the main window's outer size on the offscreen platform, where a window system
// stands in for a window manager that insists on a size of its own, and for a user who moves the
// window. Its states are OuterSizeStatesTest's.

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
    bool dropped = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Resize || static_cast<QResizeEvent*>(event)->size() != m_lost)
            return false;
        m_lost = QSize();
        dropped = true;
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
        // The second row's report is lost by now, before the user moves the window: else it would
        // be the first row again.
        QTRY_COMPARE(dropper.dropped, reportLost);
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
