#include "WindowSystemStart.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
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
// Qt's messages come from any thread, and a thread may be on its way into holdMessage while
// started() puts Qt's handler back: whether messages are still held is decided under the lock.
std::mutex heldMutex;
bool holding = false;
std::vector<HeldMessage> held;

QByteArray shown(const char* variable)
{
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? QByteArrayLiteral("unset") : '"' + value + '"';
}

// Each line of a message, under the one line that says what happened.
void printIndented(const std::string& category, const QString& text)
{
    const QString prefix =
        category.empty() || category == "default" ? QString() : QString::fromStdString(category) + QStringLiteral(": ");
    for (const QString& line : (prefix + text).split(u'\n', Qt::SkipEmptyParts))
        std::fprintf(stderr, "  %s\n", qPrintable(line));
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    std::unique_lock lock(heldMutex);
    if (!holding) {
        lock.unlock();
        passOn(type, context, text);
        return;
    }
    if (type != QtFatalMsg) {
        held.push_back({type, context.category ? context.category : "", text});
        return;
    }
    // The only fatal message while the application starts is Qt finding no window system. Qt
    // has said why in the warnings before it (a platform plugin that is not there, or that
    // lacks a library); its fatal message, which advises reinstalling, stands in for them only
    // when there are none.
    std::fprintf(stderr,
                 "tonovka: no window system to show the game on (DISPLAY %s, WAYLAND_DISPLAY %s, "
                 "QT_QPA_PLATFORM %s)\n",
                 shown("DISPLAY").constData(), shown("WAYLAND_DISPLAY").constData(),
                 shown("QT_QPA_PLATFORM").constData());
    bool reasonGiven = false;
    for (const HeldMessage& message : held) {
        if (message.type == QtWarningMsg || message.type == QtCriticalMsg) {
            printIndented(message.category, message.text);
            reasonGiven = true;
        }
    }
    if (!reasonGiven)
        printIndented(context.category ? context.category : "", text.section(u'\n', 0, 0));
    std::fflush(stderr);
    std::_Exit(WindowSystemStart::kNoWindowSystemStatus);
}

} // namespace

WindowSystemStart::WindowSystemStart()
{
    const std::lock_guard lock(heldMutex);
    holding = true;
    passOn = qInstallMessageHandler(holdMessage);
}

WindowSystemStart::~WindowSystemStart()
{
    started();
}

void WindowSystemStart::started()
{
    std::vector<HeldMessage> messages;
    {
        const std::lock_guard lock(heldMutex);
        if (!holding)
            return;
        holding = false;
        qInstallMessageHandler(passOn);
        messages.swap(held);
    }
    for (const HeldMessage& message : messages)
        passOn(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.c_str()), message.text);
    qCDebug(lcWindowSystem) << "window system:" << QGuiApplication::platformName();
}

} // namespace tonovka
