#include "SessionBus.h"

#include <QByteArray>
#include <QFileInfo>
#include <QtGlobal>

namespace tonovka {

void keepToARunningSessionBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    // The bus of a user session lies here, and the library finds it without being told.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(QString::fromLocal8Bit(runtime + "/bus")).exists())
        return;
    // An address of no known kind: connecting fails at once, and nothing is started.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace tonovka
