#include "Platform.h"

#include <QByteArray>
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

// A tool window (Qt::Tool) is a Windows tool window, which the task bar never shows.
void keepOutOfTaskbar(QWidget&)
{
}

} // namespace tonovka::platform
