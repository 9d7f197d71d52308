// one_window: the yardstick for the game's launch time and CPU: the least Qt Widgets program that
// shows a window, with the two 1 ms precise timers that the game's cursors tick on. It shows one
// empty widget titled "Minimal", of the welcome screen's size, and waits; figures.sh times it
// with mapwait.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(196, 243);
    QTimer timers[2];
    for (QTimer& timer : timers) {
        timer.setTimerType(Qt::PreciseTimer);
        timer.start(1);
    }
    window.show();
    return QApplication::exec();
}
