#include "WindowSystemStart.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QString>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace tonovka {

namespace {

Q_LOGGING_CATEGORY(lcWindowSystem, "tonovka.windowsystem", QtInfoMsg)

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

QtMessageHandler passOn = nullptr;
std::vector<HeldMessage> held;

QByteArray shown(const char* variable)
{
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? QByteArrayLiteral("unset") : '"' + value + '"';
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        held.push_back({type, context.category ? context.category : "", text});
        return;
    }
    // The only fatal message while the application starts is Qt finding no window system.
    std::fprintf(stderr,
                 "tonovka: no window system to show the game on (DISPLAY %s, WAYLAND_DISPLAY %s, "
                 "QT_QPA_PLATFORM %s)\n",
                 shown("DISPLAY").constData(), shown("WAYLAND_DISPLAY").constData(),
                 shown("QT_QPA_PLATFORM").constData());
    std::fflush(stderr);
    ::_exit(WindowSystemStart::kNoWindowSystemStatus);
}

} // namespace

WindowSystemStart::WindowSystemStart()
{
    // Wayland comes second, for a named X display that cannot be reached.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    passOn = qInstallMessageHandler(holdMessage);
}

WindowSystemStart::~WindowSystemStart()
{
    started();
}

void WindowSystemStart::started()
{
    if (!passOn)
        return;
    qInstallMessageHandler(passOn);
    for (const HeldMessage& message : held)
        passOn(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.c_str()), message.text);
    held.clear();
    passOn = nullptr;
    qCDebug(lcWindowSystem) << "window system:" << QGuiApplication::platformName();
}

} // namespace tonovka
