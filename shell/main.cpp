#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <chrono>

#include "AppShell.h"
#include "FirstExpose.h"
#include "Libraries.h"
#include "PictureSet.h"
#include "Platform.h"
#include "ScreenFactory.h"
#include "SystemParts.h"
#include "Version.h"
#include "WindowSystemStart.h"

int main(int argc, char* argv[])
{
    tonovka::platform::keepLibrarySearchToTrustedFolders();
    tonovka::platform::prepareWindowSystem();
    tonovka::WindowSystemStart windowSystem;
    QApplication app(argc, argv);
    windowSystem.started();
    tonovka::platform::addBundledFonts();
    QApplication::setApplicationName(QString::fromLatin1(tonovka::kProductName));
    QApplication::setApplicationVersion(QString::fromLatin1(tonovka::kVersion));
    // Lets the desktop match the windows with the game's menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.tonovka.Tonovka"));

    tonovka::PictureSet pictures;
    tonovka::SystemAudioService audio;
    // The audio thread's start (loading the libraries, opening the device, reading the siren)
    // would share the processor with the welcome screen's first showing; it waits until the
    // screen is up, or this long at most, so that the siren still sounds at once.
    audio.holdCommands(std::chrono::milliseconds(40));
    tonovka::AppShell shell(tonovka::screenFactory(shell, pictures, audio, &tonovka::SystemIntervalTimer::make));
    tonovka::platform::fitGameToScreen(tonovka::gameSize(), [&shell] { shell.placeAgain(); });
    shell.showScreen(tonovka::ScreenId::welcome);
    if (QWindow* welcome = shell.screen(tonovka::ScreenId::welcome)->window().windowHandle())
        tonovka::whenFirstExposed(*welcome, [&audio] { audio.releaseCommands(); });
    else
        audio.releaseCommands();
    QApplication::exec();
    shell.endProgram();
}
