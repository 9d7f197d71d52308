#include "Platform.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace tonovka::platform {

namespace {

// Qt asks the desktop's session bus for assistive technology. Where the desktop runs none, the
// D-Bus library would start one of its own, which writes into the home folder and outlives the
// game; the game writes nothing, so there it goes without a bus.
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

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

} // namespace

void prepareWindowSystem()
{
    keepToARunningSessionBus();
    // X11 wherever an X display is named (as XWayland names one in a Wayland session): only there
    // can the game centre its screens and keep them out of the task bar. A platform chosen by the
    // user stays chosen; Wayland comes second, for a named X display that cannot be reached.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

// The Debian package installs the fonts, and fontconfig finds them.
void addBundledFonts()
{
}

// Qt 6 never sets _NET_WM_STATE_SKIP_TASKBAR for a tool window, so the X11 window state says it.
void keepOutOfTaskbar(QWidget& window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;

    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    std::vector<xcb_atom_t> states = {atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                      atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    // Keep whatever states Qt has already asked for.
    const auto cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 32);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        const auto* existing = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / static_cast<int>(sizeof(xcb_atom_t));
        for (int i = 0; i < count; ++i) {
            if (existing[i] != states[0] && existing[i] != states[1])
                states.push_back(existing[i]);
        }
        std::free(reply);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}

} // namespace tonovka::platform
