#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QtGlobal>

namespace tonovka::platform {

// Qt draws text on Windows with the system's own rasterizer unless told otherwise. FreeType, which
// Qt carries, draws the game's fonts as it does on Linux, pixel for pixel. A platform chosen by the
// user stays chosen.
void prepareWindowSystem()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
}

// The stand-in fonts lie in a folder beside the program: Windows has neither of them.
void addBundledFonts()
{
    const QDir fonts(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(TONOVKA_BUNDLED_FONTS_FOLDER)));
    const QStringList files = fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files);
    for (const QString& file : files)
        QFontDatabase::addApplicationFont(fonts.filePath(file));
}

// A tool window (Qt::Tool) is a Windows tool window, which the task bar never shows.
void keepOutOfTaskbar(QWidget&)
{
}

} // namespace tonovka::platform
