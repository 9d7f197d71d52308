#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>

namespace tonovka::platform {

// The stand-in fonts lie in a folder beside the program, where the system has neither of them
// (Windows, a browser page).
void addBundledFonts()
{
    const QDir fonts(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(TONOVKA_BUNDLED_FONTS_FOLDER)));
    const QStringList files = fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files);
    for (const QString& file : files)
        QFontDatabase::addApplicationFont(fonts.filePath(file));
}

} // namespace tonovka::platform
