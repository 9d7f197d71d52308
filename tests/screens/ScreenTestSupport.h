#pragma once

// A program without a window system of its own: the real screens on the offscreen platform,
// the game on a stepped clock, a recording sound service and an exit that only counts.

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "AppShell.h"
#include "MainWindow.h"
#include "PictureSet.h"
#include "RecordingAudioService.h"
#include "ScreenFactory.h"
#include "SteppedTimerSet.h"

namespace tonovka::test {

// A stepped timer that a test can hold off, to keep the countdown from running.
class HeldTimer final : public IntervalTimer {
public:
    HeldTimer(std::unique_ptr<IntervalTimer> timer, const bool& held) : m_timer(std::move(timer)), m_held(held) {}
    void setOn(bool on) override { m_timer->setOn(on && !m_held); }
    bool isOn() const override { return m_timer->isOn(); }

private:
    std::unique_ptr<IntervalTimer> m_timer;
    const bool& m_held;
};

struct Program {
    Program() = default;
    explicit Program(AudioService& sound) : audio(&sound) {}

    PictureSet pictures;
    RecordingAudioService recording;
    AudioService* audio = &recording;
    SteppedTimerSet timers;
    bool countdownHeld = false; // while set, the countdown timer does not come on
    int exits = 0;
    AppShell shell{screenFactory(shell, pictures, *audio,
                                 [this](std::string_view name, int interval, std::function<void()> tick) {
                                     auto timer = timers.factory()(name, interval, std::move(tick));
                                     if (name != "Time")
                                         return timer;
                                     return std::unique_ptr<IntervalTimer>(
                                         std::make_unique<HeldTimer>(std::move(timer), countdownHeld));
                                 }),
                   [this] { ++exits; }};

    QWidget* window(ScreenId id) const { return shell.screen(id) ? &shell.screen(id)->window() : nullptr; }
    MainWindow& index() const { return static_cast<MainWindow&>(*shell.screen(ScreenId::index)); }
};

template <class Control = QWidget> Control* control(const QWidget* screen, const char* name)
{
    return screen->findChild<Control*>(QString::fromLatin1(name));
}

// Clicks at a point of a screen as the window system would: the click goes to whatever control
// lies there.
inline void clickAt(QWidget& screen, QPoint inScreen)
{
    QTest::mouseClick(screen.windowHandle(), Qt::LeftButton, Qt::NoModifier, inScreen);
}

// Plays as a quick player would: after each placement, clicks every occupied window, letting
// the clock tick between two clicks so that every score is seen, until the score shows target.
inline void rescueUntilScore(Program& program, const QString& target)
{
    MainWindow& index = program.index();
    QWidget* client = index.centralWidget();
    auto* score = client->findChild<QLabel*>(QStringLiteral("scorecountLBL"));
    for (int second = 0; second < 1000 && score->text() != target; ++second) {
        program.timers.advance(1000);
        for (int n = 1; n <= 15 && score->text() != target; ++n) {
            if (index.state().window(n) == Occupant::Empty)
                continue;
            auto* window = client->findChild<QWidget*>(QStringLiteral("okno%1").arg(n));
            clickAt(index, client->mapTo(&index, window->geometry().center()));
            program.timers.advance(1);
        }
    }
}

// The screens that are visible, in slot order.
inline QStringList visibleScreens(const Program& program)
{
    QStringList names;
    for (ScreenId id : {ScreenId::welcome, ScreenId::index, ScreenId::Konec, ScreenId::Victory}) {
        if (QWidget* window = program.window(id); window && window->isVisible())
            names << window->objectName();
    }
    return names;
}

// Runs check on the message box that the next action opens, then presses its OK button.
inline void whenMessageBoxOpens(std::function<void(QMessageBox&)> check)
{
    QTimer::singleShot(0, [check = std::move(check)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        check(*box);
        box->button(QMessageBox::Ok)->click();
    });
}

} // namespace tonovka::test
