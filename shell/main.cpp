#include <QApplication>

#include "AppShell.h"
#include "PictureSet.h"
#include "QtIntervalTimer.h"
#include "ScreenFactory.h"
#include "SdlAudioService.h"
#include "SessionBus.h"
#include "Version.h"
#include "WindowSystemStart.h"

int main(int argc, char* argv[])
{
    tonovka::keepToARunningSessionBus();
    tonovka::WindowSystemStart windowSystem;
    QApplication app(argc, argv);
    windowSystem.started();
    QApplication::setApplicationName(QString::fromLatin1(tonovka::kProductName));
    QApplication::setApplicationVersion(QString::fromLatin1(tonovka::kVersion));
    // Lets the desktop match the windows with the game's menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.tonovka.Tonovka"));

    tonovka::PictureSet pictures;
    tonovka::SdlAudioService audio;
    tonovka::AppShell shell(tonovka::screenFactory(shell, pictures, audio, &tonovka::QtIntervalTimer::make));
    shell.showScreen(tonovka::ScreenId::welcome);
    QApplication::exec();
    shell.endProgram();
}
