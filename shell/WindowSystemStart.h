#pragma once

namespace tonovka {

// Starts the program on a window system it can use. Made before the application object, it
// picks X11 wherever an X display is named (as XWayland names one in a Wayland session): only
// there can the game centre its screens and keep them out of the task bar. A platform chosen
// by the user stays chosen, and without an X display Qt's own choice stands (Wayland where only
// Wayland is there).
//
// Until started() is called, Qt's messages are held back: if no window system can be opened
// at all, the program says so in one line, with Qt's own reason under it, and ends with status
// 1, rather than Qt aborting with a screenful of advice and a core dump. started() passes the
// held messages on.
class WindowSystemStart {
public:
    static constexpr int kNoWindowSystemStatus = 1;

    WindowSystemStart();
    ~WindowSystemStart();
    WindowSystemStart(const WindowSystemStart&) = delete;
    WindowSystemStart& operator=(const WindowSystemStart&) = delete;

    void started();
};

} // namespace tonovka
