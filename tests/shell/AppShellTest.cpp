// The four screen slots: create once, load before the first showing, centre, hide and show.

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AppShell.h"

using namespace tonovka;

namespace {

using Log = std::vector<std::string>;

class LoggedWindow final : public QWidget {
public:
    LoggedWindow(std::string name, Log& log) : m_name(std::move(name)), m_log(log) {}

protected:
    void showEvent(QShowEvent*) override { m_log.push_back(m_name + " shown"); }
    void closeEvent(QCloseEvent*) override { m_log.push_back(m_name + " closed"); }

private:
    std::string m_name;
    Log& m_log;
};

class LoggedScreen final : public Screen {
public:
    LoggedScreen(std::string name, Log& log) : m_name(std::move(name)), m_log(log), m_window(m_name, log)
    {
        m_window.resize(200, 100);
        m_log.push_back(m_name + " created");
    }
    QWidget& window() override { return m_window; }
    void load() override { m_log.push_back(m_name + (m_window.isVisible() ? " loaded while visible" : " loaded")); }

private:
    std::string m_name;
    Log& m_log;
    LoggedWindow m_window;
};

std::string nameOf(ScreenId id)
{
    static const std::map<ScreenId, std::string> names = {{ScreenId::welcome, "welcome"},
                                                          {ScreenId::index, "index"},
                                                          {ScreenId::Konec, "Konec"},
                                                          {ScreenId::Victory, "Victory"}};
    return names.at(id);
}

struct Fixture {
    Log log;
    int exits = 0;
    AppShell shell{[this](ScreenId id) { return std::make_unique<LoggedScreen>(nameOf(id), log); },
                   [this] { ++exits; }};
};

} // namespace

class AppShellTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void slotsStayEmptyUntilFirstUse()
    {
        Fixture f;
        QVERIFY(!f.shell.screen(ScreenId::welcome));
        f.shell.showScreen(ScreenId::welcome);
        QVERIFY(f.shell.screen(ScreenId::welcome));
        QVERIFY(!f.shell.screen(ScreenId::index));
        QVERIFY(!f.shell.screen(ScreenId::Konec));
        QVERIFY(!f.shell.screen(ScreenId::Victory));
    }

    void screenIsCreatedAndLoadedBeforeItIsFirstShown()
    {
        Fixture f;
        f.shell.showScreen(ScreenId::index);
        QCOMPARE(f.log, (Log{"index created", "index loaded", "index shown"}));
        QVERIFY(f.shell.screen(ScreenId::index)->window().isVisible());
    }

    void visibleScreenShownAgainIsNeitherCreatedNorLoadedAgain()
    {
        Fixture f;
        f.shell.showScreen(ScreenId::Victory);
        Screen* first = f.shell.screen(ScreenId::Victory);
        f.shell.showScreen(ScreenId::Victory);
        f.shell.showScreen(ScreenId::Victory);
        QCOMPARE(f.shell.screen(ScreenId::Victory), first);
        QCOMPARE(f.log, (Log{"Victory created", "Victory loaded", "Victory shown"}));
    }

    void hiddenScreenLivesOnAndShowsAgainWithoutLoading()
    {
        Fixture f;
        f.shell.showScreen(ScreenId::welcome);
        Screen* welcome = f.shell.screen(ScreenId::welcome);
        f.shell.hideScreen(ScreenId::welcome);
        QCOMPARE(f.shell.screen(ScreenId::welcome), welcome);
        QVERIFY(!welcome->window().isVisible());
        f.shell.showScreen(ScreenId::welcome);
        QVERIFY(welcome->window().isVisible());
        QCOMPARE(f.log, (Log{"welcome created", "welcome loaded", "welcome shown", "welcome shown"}));
    }

    void hidingAScreenNotYetMadeDoesNothing()
    {
        Fixture f;
        f.shell.hideScreen(ScreenId::Konec);
        QVERIFY(!f.shell.screen(ScreenId::Konec));
        QVERIFY(f.log.empty());
    }

    void firstShowingIsCentredOnTheScreen()
    {
        Fixture f;
        f.shell.showScreen(ScreenId::Konec);
        QVERIFY(QTest::qWaitForWindowExposed(&f.shell.screen(ScreenId::Konec)->window()));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect window = f.shell.screen(ScreenId::Konec)->window().frameGeometry();
        QCOMPARE(window.left() - area.left(), area.right() - window.right());
        QCOMPARE(window.top() - area.top(), area.bottom() - window.bottom());
    }

    void endProgramUsesTheExitWithoutClosingAnyScreen()
    {
        Fixture f;
        f.shell.showScreen(ScreenId::index);
        f.shell.showScreen(ScreenId::Konec);
        f.log.clear();
        f.shell.endProgram();
        QCOMPARE(f.exits, 1);
        QVERIFY(f.log.empty());
    }

    void endProgramLeavesTheProcessAtOnceWithStatusZero()
    {
        // The child shows two screens, starts a timer, and ends the program from inside a
        // handler that would print more afterwards.
        QProcess child;
        child.setProgram(QStringLiteral(END_PROGRAM_CHILD));
        child.start(QIODevice::ReadOnly | QIODevice::Text); // one line end on every system
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(child.readAllStandardOutput(), QByteArray("before endProgram\n"));
    }
};

QTEST_MAIN(AppShellTest)
#include "AppShellTest.moc"
