#pragma once

// A program without a window system of its own: the real screens on the offscreen platform,
// the game on a stepped clock, a recording sound service and an exit that only counts.

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

struct Program {
    Program() = default;
    explicit Program(AudioService& sound) : audio(&sound) {}

    PictureSet pictures;
    RecordingAudioService recording;
    AudioService* audio = &recording;
    SteppedTimerSet timers;
    int exits = 0;
    AppShell shell{screenFactory(shell, pictures, *audio, timers.factory()), [this] { ++exits; }};

    QWidget* window(ScreenId id) const { return shell.screen(id) ? &shell.screen(id)->window() : nullptr; }
    MainWindow& index() const { return static_cast<MainWindow&>(*shell.screen(ScreenId::index)); }
};

template <class Control = QWidget>
Control* control(const QWidget* screen, const char* name)
{
    return screen->findChild<Control*>(QString::fromLatin1(name));
}

// Clicks at a point of a screen as the window system would: the click goes to whatever control
// lies there.
inline void clickAt(QWidget& screen, QPoint inScreen)
{
    QTest::mouseClick(screen.windowHandle(), Qt::LeftButton, Qt::NoModifier, inScreen);
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
