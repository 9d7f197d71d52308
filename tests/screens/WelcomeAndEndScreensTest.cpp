// The welcome screen and the two end screens: their frames, controls, texts and keys.

#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "GameClock.h"
#include "PictureBox.h"
#include "ScreenTestSupport.h"

using namespace tonovka;
using namespace tonovka::test;

class WelcomeAndEndScreensTest : public QObject {
    Q_OBJECT

private:
    QWidget* showWelcome(Program& program)
    {
        program.shell.showScreen(ScreenId::welcome);
        QWidget* welcome = program.window(ScreenId::welcome);
        if (!QTest::qWaitForWindowExposed(welcome))
            qWarning("the welcome screen was not exposed");
        return welcome;
    }

    template <class Control = QWidget> void expectControl(QWidget* screen, const char* name, QRect geometry)
    {
        auto* widget = control<Control>(screen, name);
        QVERIFY2(widget, name);
        QCOMPARE(widget->geometry(), geometry);
        QVERIFY(widget->isVisible());
    }

private Q_SLOTS:
    void welcomeIsASmallBorderlessWhiteScreen()
    {
        Program program;
        QWidget* welcome = showWelcome(program);
        QCOMPARE(welcome->windowTitle(), QStringLiteral("Form1"));
        QVERIFY(welcome->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(welcome->windowType(), Qt::Tool); // no task-bar entry
        QCOMPARE(welcome->size(), QSize(196, 243));
        QCOMPARE(welcome->windowIcon().cacheKey(), program.pictures.icon(PictureSet::Role::ProgramIcon).cacheKey());
        QCOMPARE(welcome->grab().toImage().pixelColor(190, 80), QColor(Qt::white));
    }

    void welcomeControlsLieWhereTheLayoutPutsThem()
    {
        Program program;
        QWidget* welcome = showWelcome(program);
        expectControl(welcome, "tittlelbl", {0, -8, 201, 33});
        expectControl(welcome, "Label1", {0, 24, 185, 25});
        expectControl(welcome, "enterBUTT", {8, 48, 81, 25});
        expectControl(welcome, "endBUTT", {104, 48, 81, 25});
        expectControl(welcome, "Image1", {0, 88, 196, 156}); // its last row lies below the screen
        QCOMPARE(control<PictureBox>(welcome, "Image1")->picture(),
                 &program.pictures.picture(PictureSet::Role::WelcomePicture));

        auto* title = control<QLabel>(welcome, "tittlelbl");
        QCOMPARE(title->text(), QStringLiteral("Tonovka"));
        QCOMPARE(title->font().family(), QStringLiteral("Comic Neue"));
        QCOMPARE(title->font().pointSizeF(), 21.75);
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(title->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        auto* subtitle = control<QLabel>(welcome, "Label1");
        QCOMPARE(subtitle->text(), QStringLiteral("aneb: zachraň si svého panáčka"));
        QCOMPARE(subtitle->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        // The earlier control of the layout lies on top: the subtitle over the title, whose box
        // it touches, and both over the picture.
        const QObjectList stack = welcome->children();
        QVERIFY(stack.indexOf(subtitle) > stack.indexOf(title));
        QVERIFY(stack.indexOf(title) > stack.indexOf(control(welcome, "Image1")));
        QVERIFY(welcome->findChild<QObject*>(QStringLiteral("MMControl1")));
    }

    void welcomeFocusStartsOnEnterAndSpaceEnters()
    {
        Program program;
        QWidget* welcome = showWelcome(program);
        welcome->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(welcome));
        QCOMPARE(welcome->focusWidget(), control(welcome, "enterBUTT"));
        QTest::keyClick(welcome->focusWidget(), Qt::Key_Return);
        QTest::keyClick(welcome->focusWidget(), Qt::Key_Escape);
        QVERIFY(!program.window(ScreenId::index)); // neither key means anything here
        QTest::keyClick(welcome->focusWidget(), Qt::Key_Space);
        QVERIFY(program.window(ScreenId::index) && program.window(ScreenId::index)->isVisible());
        QVERIFY(welcome->isHidden());
    }

    void welcomeTabThenSpaceEnds()
    {
        Program program;
        QWidget* welcome = showWelcome(program);
        welcome->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(welcome));
        QTest::keyClick(welcome->focusWidget(), Qt::Key_Tab);
        QCOMPARE(welcome->focusWidget(), control(welcome, "endBUTT"));
        QTest::keyClick(welcome->focusWidget(), Qt::Key_Space);
        QCOMPARE(program.exits, 1);
        QTest::keyClick(welcome->focusWidget(), Qt::Key_Tab);
        QCOMPARE(welcome->focusWidget(), control(welcome, "enterBUTT"));
    }

    void welcomeKonecTakesAPressOfAssistiveTechnologyOnlyWhileShown_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("shown") << true;
        QTest::newRow("hidden after Vstoupit") << false;
    }

    void welcomeKonecTakesAPressOfAssistiveTechnologyOnlyWhileShown()
    {
        QFETCH(bool, shown);
        Program program;
        QWidget* welcome = showWelcome(program);
        if (!shown)
            control<QPushButton>(welcome, "enterBUTT")->click();
        QCOMPARE(welcome->isVisible(), shown);
        const auto press = [](QWidget* button) {
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        };
        // A button that takes a press clicks a moment later; one pressed after it, later still.
        QPushButton after;
        after.show();
        QSignalSpy afterClicked(&after, &QPushButton::clicked);
        press(control(welcome, "endBUTT"));
        press(&after);

        QVERIFY(afterClicked.wait());
        QCOMPARE(program.exits, shown ? 1 : 0);
    }

    void gameOverScreenIsAFixedToolWindowWithItsText()
    {
        Program program;
        program.shell.showScreen(ScreenId::index);
        program.shell.showScreen(ScreenId::Konec);
        QWidget* konec = program.window(ScreenId::Konec);
        QCOMPARE(konec->windowTitle(), QStringLiteral("Gejm Ouvr"));
        QCOMPARE(konec->windowType(), Qt::Tool);
        QVERIFY(konec->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(konec->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(konec->size(), QSize(312, 145));
        QCOMPARE(konec->minimumSize(), konec->maximumSize());
        expectControl<QLabel>(konec, "KonecLBL", {8, 8, 297, 81});
        expectControl<QPushButton>(konec, "Command1", {8, 104, 297, 33});
        auto* text = control<QLabel>(konec, "KonecLBL");
        QCOMPARE(text->text().size(), 143);
        QVERIFY(text->text().startsWith(QStringLiteral("Zklamal si. Celý dům byl zatopen vodou")));
        QVERIFY(text->wordWrap());
        QCOMPARE(text->font().family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(text->font().pointSize(), 12);
        QCOMPARE(control<QPushButton>(konec, "Command1")->text(), QStringLiteral("OK"));
        QVERIFY(!control<QPushButton>(konec, "Command1")->isDefault());
    }

    void victoryScreenShowsOnlyTheTopOfItsTextAndStopsTheCountdown()
    {
        Program program;
        program.shell.showScreen(ScreenId::index);
        program.index().clock().newGame();
        program.shell.showScreen(ScreenId::Victory);
        QWidget* victory = program.window(ScreenId::Victory);
        QCOMPARE(victory->windowTitle(), QStringLiteral("Winner !!!"));
        QCOMPARE(victory->windowType(), Qt::Tool);
        QCOMPARE(victory->size(), QSize(312, 26));
        expectControl<QLabel>(victory, "Label1", {8, 8, 297, 57});
        QCOMPARE(control<QLabel>(victory, "Label1")->text(),
                 QStringLiteral("Vyhrál si, celá Česká republika zvolává tvé jméno. Blahopřeji ti."));
        QVERIFY(!program.index().clock().isOn(GameClock::Time));
        QVERIFY(program.index().clock().isOn(GameClock::zenaTIME));

        // Shown again, it is neither made nor loaded again: the countdown stays on once restarted.
        program.index().clock().newGame();
        program.shell.showScreen(ScreenId::Victory);
        QVERIFY(program.index().clock().isOn(GameClock::Time));
    }

    // Whatever the desktop's own fonts, the named fonts are drawn with the same stand-ins, so
    // the four lines of the game-over text fit its label, and the menu bar above the house keeps
    // its height; the menu bar stays in the window.
    void namedFontsHaveFixedStandInsAndTheGameOverTextFits()
    {
        Program program;
        showWelcome(program);
        program.shell.showScreen(ScreenId::index);
        program.shell.showScreen(ScreenId::Konec);
        program.shell.showScreen(ScreenId::Victory);
        const struct {
            ScreenId screen;
            const char* control;
            const char* family;
        } rows[] = {{ScreenId::welcome, "Label1", "DejaVu Sans"},
                    {ScreenId::welcome, "tittlelbl", "Comic Neue"},
                    {ScreenId::Konec, "KonecLBL", "DejaVu Sans"},
                    {ScreenId::Victory, "Label1", "DejaVu Sans"},
                    {ScreenId::index, "scorecountLBL", "Comic Neue"}};
        for (const auto& row : rows)
            QCOMPARE(QFontInfo(control(program.window(row.screen), row.control)->font()).family(),
                     QString::fromLatin1(row.family));
        auto* text = control<QLabel>(program.window(ScreenId::Konec), "KonecLBL");
        QVERIFY2(text->heightForWidth(text->width()) <= text->height(), "the game-over text is cut off");
        auto* menuBar = program.window(ScreenId::index)->findChild<QMenuBar*>();
        QCOMPARE(QFontInfo(menuBar->font()).family(), QStringLiteral("DejaVu Sans"));
        QVERIFY(!menuBar->isNativeMenuBar());
    }

    void endScreensLetTheMainWindowGoOn()
    {
        Program program;
        program.shell.showScreen(ScreenId::index);
        program.shell.showScreen(ScreenId::Konec);
        QVERIFY(!program.window(ScreenId::Konec)->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(program.window(ScreenId::index)->isEnabled());
    }
};

QTEST_MAIN(WelcomeAndEndScreensTest)
#include "WelcomeAndEndScreensTest.moc"
