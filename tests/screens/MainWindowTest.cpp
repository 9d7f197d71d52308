// The main game window on the offscreen platform: its controls, menu, clicks, the water and
// the size it holds.

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QSet>
#include <QTest>

#include "FilledShape.h"
#include "HouseLayout.h"
#include "PictureBox.h"
#include "ScreenTestSupport.h"

using namespace tonovka;
using namespace tonovka::test;

namespace {

// The control that a row of the house's layout table describes.
QWidget* placed(const QWidget* area, const HousePlace& place)
{
    const QString name = QString::fromLatin1(place.name.data(), static_cast<qsizetype>(place.name.size()));
    for (QWidget* widget : area->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly)) {
        if (place.element == kNoElement || widget->property("element").toInt() == place.element)
            return widget;
    }
    return nullptr;
}

QStringList menuBarItems(const QWidget* window)
{
    QStringList items;
    for (QAction* action : window->findChild<QMenuBar*>()->actions()) {
        if (action->isVisible())
            items << action->text();
    }
    return items;
}

// Counts the paint events of the window and everything in it.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget& window) : m_window(window) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    QSet<QString> painted;
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->window() == &m_window) {
            ++count;
            painted << widget->objectName();
        }
        return false;
    }

private:
    QWidget& m_window;
};

// Hears the music being closed, and what the window shows at that moment.
class WatchingAudio final : public AudioService {
public:
    std::function<void()> onClose = [] {};
    int addPlayer() override { return 1; }
    void open(int, AudioDevice, const QString&) override {}
    void play(int) override {}
    void close(int) override { onClose(); }
    bool isSounding(int) const override { return false; }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    QWidget* client(Program& program) { return program.index().centralWidget(); }
    PictureBox* window(Program& program, int n)
    {
        return control<PictureBox>(client(program), qPrintable(QStringLiteral("okno%1").arg(n)));
    }
    QString label(Program& program, const char* name) { return control<QLabel>(client(program), name)->text(); }

    void enter(Program& program)
    {
        program.shell.showScreen(ScreenId::index);
        QVERIFY(QTest::qWaitForWindowExposed(program.window(ScreenId::index)));
    }

private Q_SLOTS:
    void windowHasItsCaptionFrameAndMusic()
    {
        Program program;
        enter(program);
        QWidget& index = *program.window(ScreenId::index);
        QCOMPARE(index.windowTitle(), QStringLiteral("Tonovka"));
        QCOMPARE(index.windowIcon().cacheKey(), program.pictures.icon(PictureSet::Role::WarningIcon).cacheKey());
        QVERIFY(index.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(index.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(index.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(index.windowType(), Qt::Window);
        QCOMPARE(program.recording.commands(),
                 (QStringList{"player 1: open sequencer rytmozan.mid", "player 1: play"}));
        QVERIFY(index.findChild<QObject*>(QStringLiteral("MMControl1")));
    }

    void everyControlStartsWhereTheLayoutPutsIt()
    {
        Program program;
        enter(program);
        QWidget* area = client(program);
        QCOMPARE(area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), qsizetype(std::size(kHouseLayout)));
        for (const HousePlace& place : kHouseLayout) {
            const QWidget* widget = placed(area, place);
            QVERIFY2(widget, place.name.data());
            QCOMPARE(widget->geometry(), place.rect());
            QCOMPARE(widget->isVisibleTo(area), place.shown);
        }
        // Pixels are whole twips / 15: the water reaches one pixel past the client area.
        QCOMPARE(placed(area, housePlace("voda"))->geometry(), QRect(0, 88, 505, 313));
        QCOMPARE(label(program, "chlapLBL"), QStringLiteral("1"));
        QCOMPARE(label(program, "zenaLBL"), QStringLiteral("7"));
        QCOMPARE(label(program, "scorecountLBL"), QStringLiteral("0"));
        QCOMPARE(label(program, "timecountLBL"), QStringLiteral("50"));
        QCOMPARE(label(program, "scoreLBL"), QStringLiteral("Skóre:"));
        QCOMPARE(label(program, "timeLBL"), QStringLiteral("Time:"));
        QCOMPARE(control<QLabel>(area, "scoreLBL")->font().family(), QStringLiteral("Comic Neue"));
        QCOMPARE(control<QLabel>(area, "scoreLBL")->font().pointSize(), 12);
    }

    void controlsLieInTheirDrawingOrder()
    {
        Program program;
        enter(program);
        const QObjectList stack = client(program)->children(); // later siblings lie on top
        for (std::size_t i = 1; i < std::size(kHouseLayout); ++i) {
            const auto above = stack.indexOf(placed(client(program), kHouseLayout[i - 1]));
            const auto below = stack.indexOf(placed(client(program), kHouseLayout[i]));
            QVERIFY2(above > below, kHouseLayout[i - 1].name.data());
        }
    }

    void pictureControlsShowTheSharedPictures()
    {
        Program program;
        enter(program);
        const QPixmap* empty = &program.pictures.picture(PictureSet::Role::EmptyWindowPicture);
        for (int n = 1; n <= 15; ++n)
            QCOMPARE(window(program, n)->picture(), empty);
        QCOMPARE(control<PictureBox>(client(program), "okno")->picture(), empty);
        QCOMPARE(control<PictureBox>(client(program), "chlapIMG")->picture(),
                 &program.pictures.picture(PictureSet::Role::ManPicture));
        QCOMPARE(control<PictureBox>(client(program), "zenaIMG")->picture(),
                 &program.pictures.picture(PictureSet::Role::WomanPicture));
        QCOMPARE(control<PictureBox>(client(program), "strecha")->picture(),
                 &program.pictures.picture(PictureSet::Role::RoofPicture));
    }

    void pauseAndContinueSwapOnTheMenuBar()
    {
        Program program;
        enter(program);
        QWidget* index = program.window(ScreenId::index);
        QCOMPARE(menuBarItems(index), (QStringList{"&Hra", "&Pauza", "Nápověda"}));
        control<QAction>(index, "mnuPAUSEitem")->trigger();
        QCOMPARE(menuBarItems(index), (QStringList{"&Hra", "&Pokračovat", "Nápověda"}));
        control<QAction>(index, "mnuNEWitem")->trigger();
        QCOMPARE(menuBarItems(index), (QStringList{"&Hra", "&Pokračovat", "Nápověda"}));
        QCOMPARE(program.timers.timersOn().size(), std::size_t(5));
        control<QAction>(index, "mnuCONTINUEitem")->trigger();
        QCOMPARE(menuBarItems(index), (QStringList{"&Hra", "&Pauza", "Nápověda"}));
    }

    void keyboardStartsPausesAndEnds()
    {
        Program program;
        enter(program);
        QWidget* index = program.window(ScreenId::index);
        index->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(index));
        QTest::keyClick(index, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(program.timers.timersOn().size(), std::size_t(5));
        QTest::keyClick(index, Qt::Key_P, Qt::AltModifier);
        QCOMPARE(menuBarItems(index), (QStringList{"&Hra", "&Pokračovat", "Nápověda"}));
        QTest::keyClick(index, Qt::Key_P, Qt::AltModifier);
        QCOMPARE(menuBarItems(index), (QStringList{"&Hra", "&Pauza", "Nápověda"}));
        QCOMPARE(program.exits, 0);
        QTest::keyClick(index, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(program.exits, 1);
    }

    void endItemAndCloseBoxEndTheProgram()
    {
        Program program;
        enter(program);
        control<QAction>(program.window(ScreenId::index), "mnuKONECitem")->trigger();
        QCOMPARE(program.exits, 1);
        program.window(ScreenId::index)->close();
        QCOMPARE(program.exits, 2);
    }

    void clickRescuesOnlyFromAnOccupiedWindow()
    {
        Program program;
        enter(program);
        QWidget& index = *program.window(ScreenId::index);
        auto at = [&](int n, int x) {
            return client(program)->mapTo(&index, window(program, n)->pos() + QPoint(x, 20));
        };

        clickAt(index, at(1, 30)); // never occupied
        QCOMPARE(label(program, "scorecountLBL"), QStringLiteral("0"));
        QCOMPARE(label(program, "timecountLBL"), QStringLiteral("50"));

        control<QAction>(&index, "mnuNEWitem")->trigger();
        program.timers.advance(1000); // a man in window 11, a woman in window 2
        QCOMPARE(window(program, 11)->picture(), control<PictureBox>(client(program), "chlapIMG")->picture());
        QCOMPARE(window(program, 2)->picture(), control<PictureBox>(client(program), "zenaIMG")->picture());
        QCOMPARE(window(program, 11)->width(), 72);
        QCOMPARE(window(program, 11)->accessibleName(), QStringLiteral("Okno 11: muž"));
        QCOMPARE(window(program, 2)->accessibleName(), QStringLiteral("Okno 2: žena"));
        QCOMPARE(window(program, 1)->accessibleName(), QStringLiteral("Okno 1: prázdné"));

        // The column that the empty window would cover is background now.
        clickAt(index, at(11, 72));
        QCOMPARE(label(program, "scorecountLBL"), QStringLiteral("0"));

        clickAt(index, at(11, 71));
        QCOMPARE(label(program, "scorecountLBL"), QStringLiteral("1"));
        QCOMPARE(label(program, "timecountLBL"), QStringLiteral("49"));
        QCOMPARE(window(program, 11)->picture(), control<PictureBox>(client(program), "okno")->picture());
        QCOMPARE(window(program, 11)->width(), 73);
        QCOMPARE(window(program, 11)->accessibleName(), QStringLiteral("Okno 11: prázdné"));
        QCOMPARE(window(program, 11)->grab().toImage(), window(program, 1)->grab().toImage());

        clickAt(index, at(11, 30));
        QCOMPARE(label(program, "scorecountLBL"), QStringLiteral("1"));
    }

    // A screen reader meets the shown controls only, the windows as buttons in their numbers'
    // order, and a press on a window does what a click does, where a click could land.
    void assistiveTechnologyReadsTheWindowsInOrderAndPressesThem()
    {
        Program program;
        enter(program);
        QAccessibleInterface* area = QAccessible::queryAccessibleInterface(client(program));
        QStringList buttons;
        for (int i = 0; i < area->childCount(); ++i) {
            QAccessibleInterface* child = area->child(i);
            QVERIFY2(!static_cast<QWidget*>(child->object())->isHidden(), qPrintable(child->object()->objectName()));
            QCOMPARE(area->indexOfChild(child), i);
            if (child->role() == QAccessible::Button)
                buttons << child->text(QAccessible::Name);
        }
        QCOMPARE(area->childCount(), 22); // the roof, four labels, two strips, fifteen windows
        QCOMPARE(buttons.size(), 15);
        for (int n = 1; n <= 15; ++n)
            QCOMPARE(buttons[n - 1], QStringLiteral("Okno %1: prázdné").arg(n));

        control<QAction>(program.window(ScreenId::index), "mnuNEWitem")->trigger();
        program.timers.advance(1000); // a man in window 11, a woman in window 2
        const auto press = [&](int n) {
            QAccessible::queryAccessibleInterface(window(program, n))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
        };
        whenMessageBoxOpens([&](QMessageBox&) { press(2); }); // the help box blocks clicks
        control<QAction>(program.window(ScreenId::index), "mnuHELPitem")->trigger();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(label(program, "scorecountLBL"), QStringLiteral("0"));
        press(11);
        QCOMPARE(label(program, "scorecountLBL"), QStringLiteral("1"));
        QCOMPARE(window(program, 11)->accessibleName(), QStringLiteral("Okno 11: prázdné"));
    }

    void helpBoxLeavesTheGameRunning()
    {
        Program program;
        enter(program);
        QWidget* index = program.window(ScreenId::index);
        control<QAction>(index, "mnuNEWitem")->trigger();
        bool checked = false;
        whenMessageBoxOpens([&](QMessageBox& box) {
            QCOMPARE(box.text(), QStringLiteral("To určitě"));
            QCOMPARE(box.windowTitle(), QStringLiteral("Tonovka"));
            QCOMPARE(box.icon(), QMessageBox::NoIcon);
            QCOMPARE(box.buttons().size(), 1);
            QCOMPARE(program.timers.timersOn().size(), std::size_t(5));
            program.timers.advance(400);
            QCOMPARE(label(program, "timecountLBL"), QStringLiteral("49"));
            checked = true;
        });
        control<QAction>(index, "mnuHELPitem")->trigger();
        QTRY_VERIFY(checked);
        QCOMPARE(program.timers.timersOn().size(), std::size_t(5));
    }

    void timeOutShowsWaterThenGameOverThenClosesMusic()
    {
        WatchingAudio audio;
        Program program(audio);
        enter(program);
        QWidget* water = control(client(program), "voda");
        QStringList seenAtClose;
        audio.onClose = [&] {
            seenAtClose << (water->isVisible() ? "water" : "dry");
            QWidget* konec = program.window(ScreenId::Konec);
            seenAtClose << (konec && konec->isVisible() ? "game over shown" : "no game over");
        };
        control<QAction>(program.window(ScreenId::index), "mnuNEWitem")->trigger();
        program.timers.advance(19999);
        QVERIFY(!water->isVisible());
        QVERIFY(!program.window(ScreenId::Konec));
        program.timers.advance(1);
        QCOMPARE(label(program, "timecountLBL"), QStringLiteral("0"));
        QCOMPARE(seenAtClose, (QStringList{"water", "game over shown"}));
        program.timers.advance(400);
        QCOMPARE(label(program, "timecountLBL"), QStringLiteral("-1"));
    }

    void waterCoversTheHouseButNotTheNumbers()
    {
        Program program;
        enter(program);
        control(client(program), "voda")->show();
        const QImage shot = client(program)->grab().toImage();
        const QColor water(192, 255, 255);
        QCOMPARE(shot.pixelColor(window(program, 7)->geometry().center()), water);
        QCOMPARE(shot.pixelColor(5, 200), water);   // the left strip
        QCOMPARE(shot.pixelColor(200, 100), water); // the roof's lower edge
        QVERIFY(shot.pixelColor(200, 60) != water);
        QVERIFY(control(client(program), "scorecountLBL")->geometry().bottom() < 88);
    }

    void cursorTicksRepaintNothingAndTellAssistiveTechnologyNothing()
    {
        Program program;
        enter(program);
        QTest::qWait(50);
        control<QAction>(program.window(ScreenId::index), "mnuNEWitem")->trigger();
        PaintCounter paints(*program.window(ScreenId::index));
        static int accessibilityEvents = 0;
        accessibilityEvents = 0;
        const auto previous = QAccessible::installUpdateHandler([](QAccessibleEvent*) { ++accessibilityEvents; });
        program.timers.advance(399); // only the two cursor timers tick before 400 ms
        QAccessible::installUpdateHandler(previous);
        QTest::qWait(50);
        QCOMPARE(paints.count, 0);
        QCOMPARE(accessibilityEvents, 0);
        QCOMPARE(label(program, "chlapLBL"), QStringLiteral("10")); // 1 + 399 mod 15
    }

    void placementRepaintsOnlyTheWindowsThatChanged()
    {
        Program program;
        enter(program);
        control<QAction>(program.window(ScreenId::index), "mnuNEWitem")->trigger();
        program.timers.advance(999);
        QTest::qWait(50);
        PaintCounter paints(*program.window(ScreenId::index));
        program.timers.advance(1);
        QTest::qWait(50);
        // The client repaints only the column that each narrower window uncovers.
        QCOMPARE(paints.painted - QSet<QString>{"client"}, (QSet<QString>{"okno2", "okno11"}));
    }

    void windowHoldsItsOuterSize()
    {
        Program program;
        enter(program);
        QWidget* index = program.window(ScreenId::index);
        QTRY_COMPARE(index->frameGeometry().size(), QSize(504, 414));
        index->resize(700, 600);
        QTRY_COMPARE(index->frameGeometry().size(), QSize(504, 414));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
