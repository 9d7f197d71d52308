// one_window: the least Qt Widgets program that shows a window, the yardstick for how long the
// game takes from launch until its first screen is mapped. It shows one empty widget titled
// "Minimal", of the welcome screen's size, and waits; figures.sh times it with mapwait.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(196, 243);
    window.show();
    return QApplication::exec();
}
