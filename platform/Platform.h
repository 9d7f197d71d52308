#pragma once

class QWidget;

// What the program does differently on each system it runs on, beside reading files
// (RegularFile.h). Each function has one file per system, which CMake picks: PlatformLinux.cpp
// (X11 and Wayland desktops), PlatformWindows.cpp and PlatformWeb.cpp (a browser page).
namespace tonovka::platform {

// Called first in main(), before the application object: picks the window system and how it
// draws text, and keeps the program away from desktop services that it would otherwise start.
void prepareWindowSystem();

// Called once the application object exists: makes the fonts that the game carries with it
// known to Qt, where the system does not install them.
void addBundledFonts();

// Keeps a window out of the task bar and the pager. Qt asks for a tool window without a task
// bar entry only through its window type, which some window managers ignore. Call it before the
// window is mapped (from showEvent).
void keepOutOfTaskbar(QWidget& window);

// Ends the program at once with status 0, whatever runs.
[[noreturn]] void leaveProcess();

} // namespace tonovka::platform
