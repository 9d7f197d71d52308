#pragma once

namespace tonovka {

// Starts the program on a window system it can use (platform::prepareWindowSystem() picks it).
//
// Made before the application object. Until started() is called, Qt's messages are held back: if no window system can
// be opened at all, the program says so in one line, with Qt's own reason under it, and ends with status 1, rather than
// Qt aborting with a screenful of advice and a core dump. started() passes the held messages on.
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
