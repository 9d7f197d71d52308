#pragma once

class QWidget;

namespace tonovka {

// Keeps a window out of the task bar and the pager. Qt asks for a tool window without a task
// bar entry only through its window type, which some window managers ignore, so the X11 window
// state says it too. Call it before the window is mapped (from showEvent); it does nothing on
// other platforms.
void keepOutOfTaskbar(QWidget& window);

} // namespace tonovka
