#pragma once

#include <QSize>

#include <functional>

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

// Keeps the whole game, a window of gameSize at most, inside a screen that may be smaller or change
// its size while the game runs (a browser page on a phone, or zoomed): scales the game as a whole
// when the screen's size or pixels change, then calls placeAgain so that the windows find their
// places on it. Call it before the first window shows. A desktop's windows keep their size.
void fitGameToScreen(QSize gameSize, std::function<void()> placeAgain);

// Keeps a window out of the task bar and the pager. Qt asks for a tool window without a task
// bar entry only through its window type, which some window managers ignore. Call it before the
// window is mapped (from showEvent).
void keepOutOfTaskbar(QWidget& window);

// Ends the program at once with status 0, whatever runs.
[[noreturn]] void leaveProcess();

} // namespace tonovka::platform
