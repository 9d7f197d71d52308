// The program's screen flow, row by row of its state table, driven through the screens' own
// controls: from the welcome screen through play to the end screens and every way out.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "GameClock.h"
#include "ScreenTestSupport.h"

using namespace tonovka;
using namespace tonovka::test;

class ScreenFlowTest : public QObject {
    Q_OBJECT

private:
    // Welcome: the program has just started.
    void start(Program& program)
    {
        program.shell.showScreen(ScreenId::welcome);
        QVERIFY(QTest::qWaitForWindowExposed(program.window(ScreenId::welcome)));
    }

    // Welcome -> Playing, by "Vstoupit"; then a new game.
    void enterAndPlay(Program& program)
    {
        start(program);
        control<QPushButton>(program.window(ScreenId::welcome), "enterBUTT")->click();
        QVERIFY(QTest::qWaitForWindowExposed(program.window(ScreenId::index)));
        control<QAction>(program.window(ScreenId::index), "mnuNEWitem")->trigger();
    }

    // Playing -> Game over shown: nobody is rescued until the time runs out.
    void runOutOfTime(Program& program)
    {
        program.timers.advance(20000);
        QCOMPARE(control<QLabel>(program.window(ScreenId::index), "timecountLBL")->text(), QStringLiteral("0"));
    }

    QPushButton* okButton(Program& program)
    {
        return control<QPushButton>(program.window(ScreenId::Konec), "Command1");
    }

private Q_SLOTS:
    void startShowsOnlyTheWelcomeScreenWithItsSiren()
    {
        Program program;
        start(program);
        QCOMPARE(visibleScreens(program), QStringList{"welcome"});
        QVERIFY(!program.window(ScreenId::index)); // no main window, timers or music yet
        QCOMPARE(program.recording.commands(), (QStringList{"player 1: open waveaudio siren.wav", "player 1: play"}));
    }

    void enterShowsTheMainWindowBeforeHidingTheWelcomeScreen()
    {
        Program program;
        start(program);
        QWidget* welcome = program.window(ScreenId::welcome);
        bool mainWindowShownFirst = false;
        struct HideWatch final : QObject {
            std::function<void()> onHide;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Hide)
                    onHide();
                return false;
            }
        } watch;
        watch.onHide = [&] {
            QWidget* index = program.window(ScreenId::index);
            mainWindowShownFirst = index && index->isVisible();
        };
        welcome->installEventFilter(&watch);
        control<QPushButton>(welcome, "enterBUTT")->click();
        QVERIFY(mainWindowShownFirst);
        QCOMPARE(visibleScreens(program), QStringList{"index"});
        QCOMPARE(program.shell.screen(ScreenId::welcome)->window().isHidden(), true);
        // The siren plays on under the music: its player is never closed.
        QCOMPARE(program.recording.commands(),
                 (QStringList{"player 1: open waveaudio siren.wav", "player 1: play",
                              "player 2: open sequencer rytmozan.mid", "player 2: play"}));
    }

    void welcomeEndButtonEndsTheProgram()
    {
        Program program;
        start(program);
        control<QPushButton>(program.window(ScreenId::welcome), "endBUTT")->click();
        QCOMPARE(program.exits, 1);
    }

    void welcomeClosedByTheWindowSystemEndsTheProgram()
    {
        Program program;
        start(program);
        // The program's event loop ends when its last window closes; main then ends the program.
        QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
        QTimer::singleShot(0, program.window(ScreenId::welcome), &QWidget::close);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        giveUp.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(lastWindowClosed.count(), 1);
    }

    void mainWindowClosedWhilePlayingEndsTheProgram()
    {
        Program program;
        enterAndPlay(program);
        program.window(ScreenId::index)->close();
        QCOMPARE(program.exits, 1);
    }

    void timeOutShowsGameOverOverTheRunningGame()
    {
        Program program;
        enterAndPlay(program);
        runOutOfTime(program);
        QCOMPARE(visibleScreens(program), (QStringList{"index", "Konec"}));
        QCOMPARE(program.timers.timersOn().size(), std::size_t(5)); // the game goes on under water
        QCOMPARE(program.recording.takeCommands().last(), QStringLiteral("player 2: close"));
    }

    void gameOverEndsByOkByClosingItOrByClosingTheMainWindow()
    {
        for (int way = 0; way < 3; ++way) {
            Program program;
            enterAndPlay(program);
            runOutOfTime(program);
            if (way == 0)
                okButton(program)->click();
            else if (way == 1)
                program.window(ScreenId::Konec)->close();
            else
                program.window(ScreenId::index)->close();
            QCOMPARE(program.exits, 1);
        }
    }

    void gameOverOkHasTheFocusAndEscapeDoesNothing()
    {
        Program program;
        enterAndPlay(program);
        runOutOfTime(program);
        QWidget* konec = program.window(ScreenId::Konec);
        konec->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(konec));
        QCOMPARE(konec->focusWidget(), okButton(program));
        QTest::keyClick(konec, Qt::Key_Escape);
        QCOMPARE(program.exits, 0);
        QTest::keyClick(okButton(program), Qt::Key_Space);
        QCOMPARE(program.exits, 1);
    }

    // The time runs out while the help box or the game's drop-down menu is open: game over
    // comes above the main window and, once the box or menu is gone, has the keyboard.
    void gameOverTakesTheKeyboardFromAnOpenHelpBoxOrMenu()
    {
        for (const bool helpBox : {true, false}) {
            Program program;
            enterAndPlay(program);
            QWidget* index = program.window(ScreenId::index);
            if (helpBox) {
                whenMessageBoxOpens([&](QMessageBox&) { runOutOfTime(program); });
                control<QAction>(index, "mnuHELPitem")->trigger();
                QTRY_VERIFY(!QApplication::activeModalWidget());
            } else {
                QMenu* game = control<QAction>(index, "mmuHRAitem")->menu();
                game->popup(index->mapToGlobal(QPoint(0, 20)));
                QVERIFY(QTest::qWaitForWindowExposed(game));
                runOutOfTime(program);
                QVERIFY(!game->isVisible());
            }
            QWidget* konec = program.window(ScreenId::Konec);
            QCOMPARE(konec->windowHandle()->transientParent(), index->windowHandle());
            QVERIFY(QTest::qWaitForWindowActive(konec));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QCOMPARE(program.exits, 1);
        }
    }

    void victoryWhilePlayingStopsOnlyTheCountdown()
    {
        Program program;
        program.countdownHeld = true; // a player fast enough never to run out of time
        enterAndPlay(program);
        rescueUntilScore(program, QStringLiteral("210"));
        program.timers.advance(1);
        QCOMPARE(visibleScreens(program), (QStringList{"index", "Victory"}));
        // It belongs to the main window, so that it stays above it.
        QCOMPARE(program.window(ScreenId::Victory)->windowHandle()->transientParent(),
                 program.window(ScreenId::index)->windowHandle());
        QVERIFY(!program.index().clock().isOn(GameClock::Time));
        QVERIFY(program.index().clock().isOn(GameClock::LidiTIME));
    }

    void gameOverThenVictoryShowsBoth()
    {
        Program program;
        enterAndPlay(program);
        runOutOfTime(program);
        rescueUntilScore(program, QStringLiteral("210"));
        program.timers.advance(1);
        QCOMPARE(visibleScreens(program), (QStringList{"index", "Konec", "Victory"}));
    }

    void victoryThenTimeOutShowsBothOnceTheCountdownIsBack()
    {
        Program program;
        program.countdownHeld = true;
        enterAndPlay(program);
        rescueUntilScore(program, QStringLiteral("210"));
        program.timers.advance(1);
        Screen* victory = program.shell.screen(ScreenId::Victory);
        QVERIFY(victory);
        program.countdownHeld = false;
        program.timers.advance(60000);
        QVERIFY(!program.window(ScreenId::Konec)); // the countdown stays stopped
        control<QAction>(program.window(ScreenId::index), "mnuNEWitem")->trigger();
        program.timers.advance(400 * 400);
        QCOMPARE(visibleScreens(program), (QStringList{"index", "Konec", "Victory"}));
        QCOMPARE(program.shell.screen(ScreenId::Victory), victory); // shown once, loaded once
        QVERIFY(program.index().clock().isOn(GameClock::Time));
    }

    void victoryEndsByClosingItOrTheMainWindow()
    {
        for (ScreenId closed : {ScreenId::Victory, ScreenId::index}) {
            Program program;
            program.countdownHeld = true;
            enterAndPlay(program);
            rescueUntilScore(program, QStringLiteral("210"));
            program.timers.advance(1);
            program.window(closed)->close();
            QCOMPARE(program.exits, 1);
        }
    }

    void bothShownEndsByOkOrClosingAnyOfTheThree()
    {
        for (int way = 0; way < 4; ++way) {
            Program program;
            enterAndPlay(program);
            runOutOfTime(program);
            rescueUntilScore(program, QStringLiteral("210"));
            program.timers.advance(1);
            QCOMPARE(visibleScreens(program).size(), 3);
            if (way == 0)
                okButton(program)->click();
            else
                program.window(way == 1 ? ScreenId::Konec : way == 2 ? ScreenId::Victory : ScreenId::index)->close();
            QCOMPARE(program.exits, 1);
        }
    }
};

QTEST_MAIN(ScreenFlowTest)
#include "ScreenFlowTest.moc"
