// The keeper of the main window's outer size on the offscreen platform, where a window system
// stands in for a window manager that insists on a size of its own, and for a user who moves
// the window.

#include <QTest>
#include <QWidget>
#include <QWindow>

#include "OuterSizeKeeper.h"

using namespace tonovka;

namespace {

constexpr QSize kOuterSize(504, 414);

// Answers every resize to a size not its own with one of its own sizes, in turn, as a tiling
// window manager answers a window that it tiles.
class InsistingWindowSystem final : public QObject {
public:
    InsistingWindowSystem(QWindow& window, QList<QSize> own) : m_window(window), m_own(std::move(own))
    {
        window.installEventFilter(this);
    }
    int answers = 0;
    bool insisting = true;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && insisting && !m_own.contains(m_window.size()))
            m_window.resize(m_own.at(answers++ % m_own.size()));
        return false;
    }

private:
    QWindow& m_window;
    const QList<QSize> m_own;
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
        QTest::newRow("on one size") << QList<QSize>{QSize(640, 480)};
        QTest::newRow("on two sizes in turn") << QList<QSize>{QSize(640, 480), QSize(641, 480)};
    }

    void leavesTheWindowToAWindowManagerThatInsists()
    {
        QFETCH(QList<QSize>, own);
        HeldWindow held;
        QTRY_VERIFY(held.settled());
        InsistingWindowSystem windowSystem(held.handle(), own);
        held.handle().resize(640, 480);
        // Every correction is answered at once; left alone, the two would resize each other
        // without end. The keeper's re-looks come 300 ms apart, so this sees them all.
        QTest::qWait((OuterSizeKeeper::kMaxCorrections + 3) * 300);
        QVERIFY2(windowSystem.answers <= OuterSizeKeeper::kMaxCorrections,
                 qPrintable(QStringLiteral("%1 corrections answered").arg(windowSystem.answers)));
        QVERIFY(windowSystem.answers > 0);
        QVERIFY(own.contains(held.handle().size()));

        // A new change of the window manager's is corrected again.
        windowSystem.insisting = false;
        held.handle().resize(300, 200);
        QTRY_VERIFY(held.settled());
    }

    void keepsWhereTheUserMovesItJustAfterACorrection()
    {
        HeldWindow held;
        QTRY_VERIFY(held.settled());
        held.handle().resize(700, 600);
        QTRY_VERIFY(held.settled());
        const QPoint corrected = held.window.frameGeometry().topLeft();
        const QPoint moved = corrected + QPoint(37, 23);
        held.handle().setFramePosition(moved);
        QTRY_COMPARE(held.window.frameGeometry().topLeft(), moved);
        // Whatever comes next, such as the keeper's next look, leaves it there.
        QTest::qWait(400);
        QCOMPARE(held.window.frameGeometry().topLeft(), moved);
        QVERIFY(held.settled());
    }
};

QTEST_MAIN(OuterSizeKeeperTest)
#include "OuterSizeKeeperTest.moc"
