#include "Platform.h"

#include <emscripten.h>

namespace tonovka::platform {

// A page has one window system, the page itself.
void prepareWindowSystem()
{
}

// A page has no task bar.
void keepOutOfTaskbar(QWidget&)
{
}

// A page cannot close itself: the program ends, its timers with it, and the page says so
// (packaging/web).
void leaveProcess()
{
    emscripten_force_exit(0);
}

} // namespace tonovka::platform
