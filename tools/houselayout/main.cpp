// Prints where the main window's controls lie, for the scripts that click and read the real
// window: one line per control of the house front, the menu bar and each item on it, as
//     okno1=(X Y WIDTH HEIGHT)
// in pixels from the top left of the window's client area, the menu bar included. The two side
// strips are Shape1_0 and Shape1_1. The first line is the window's size with its frame, which
// the window keeps whatever the frame: outerSize=(WIDTH HEIGHT); the second how often the window
// corrects one change that the window manager makes to that size or its place:
// keeperCorrections=N. The welcome screen's client area follows, welcome=(0 0 WIDTH HEIGHT), and
// the controls of the welcome and game-over screens that the scripts click or compare, named
// after their screen: welcome_enterBUTT=(X Y WIDTH HEIGHT). The play scripts read them as data
// (tests/play/house-layout.sh).
//
// The window is laid out on the offscreen platform unless QT_QPA_PLATFORM names another.

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTextStream>

#include "AppShell.h"
#include "AudioService.h"
#include "HouseLayout.h"
#include "KonecScreen.h"
#include "MainWindow.h"
#include "OuterSizeStates.h"
#include "PictureSet.h"
#include "SteppedTimerSet.h"
#include "Twips.h"
#include "WelcomeScreen.h"

using namespace tonovka;

namespace {

class NoSound final : public AudioService {
public:
    int addPlayer() override { return 1; }
    void open(int, AudioDevice, const QString&) override {}
    void play(int) override {}
    void close(int) override {}
    bool isSounding(int) const override { return false; }
};

QString line(const QString& name, QRect area)
{
    return QStringLiteral("%1=(%2 %3 %4 %5)\n")
        .arg(name)
        .arg(area.x())
        .arg(area.y())
        .arg(area.width())
        .arg(area.height());
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    PictureSet pictures;
    NoSound sound;
    SteppedTimerSet timers;
    AppShell shell([](ScreenId) { return nullptr; });
    MainWindow window(shell, pictures, sound, timers.factory());
    window.show();

    QTextStream out(stdout);
    out << QStringLiteral("outerSize=(%1 %2)\n").arg(pixels(kOuterWidth)).arg(pixels(kOuterHeight));
    out << QStringLiteral("keeperCorrections=%1\n").arg(kMaxCorrections);
    out << line(QStringLiteral("menubar"), window.menuBar()->geometry());
    // The items on the bar, as a game that runs shows them ("Hra", "Pauza", "Nápověda").
    for (QAction* item : window.menuBar()->actions()) {
        if (item->isVisible())
            out << line(item->objectName(), window.menuBar()->actionGeometry(item).translated(window.menuBar()->pos()));
    }
    const QWidget* client = window.centralWidget();
    for (const HousePlace& place : kHouseLayout) {
        QString name = QString::fromLatin1(place.name.data(), static_cast<qsizetype>(place.name.size()));
        if (place.element != kNoElement)
            name += QStringLiteral("_%1").arg(place.element);
        out << line(name, place.rect().translated(client->mapTo(&window, QPoint(0, 0))));
    }
    const WelcomeScreen welcome(shell, pictures, sound);
    const KonecScreen konec(shell);
    out << line(welcome.objectName(), welcome.rect());
    const std::pair<const QWidget*, const char*> controls[] = {
        {&welcome, "enterBUTT"}, {&welcome, "endBUTT"}, {&welcome, "tittlelbl"}, {&konec, "Command1"}};
    for (const auto& [screen, name] : controls) {
        if (const auto* control = screen->findChild<const QWidget*>(QLatin1String(name)))
            out << line(screen->objectName() + u'_' + QLatin1String(name), control->geometry());
    }
}
