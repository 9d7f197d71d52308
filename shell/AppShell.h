#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QPoint>
#include <QSize>

#include "Screen.h"
#include "Version.h"

namespace tonovka {

// Owns the four screens, creates each on its first use, shows and hides them, and ends the
// program. It holds no game logic.
class AppShell {
public:
    // The title of every message box that names none of its own.
    static constexpr const char* kApplicationTitle = kProductName;

    using ScreenFactory = std::function<std::unique_ptr<Screen>(ScreenId)>;
    using ExitFunction = std::function<void()>;

    // exitProgram leaves the process; tests give one that only records the call.
    explicit AppShell(ScreenFactory makeScreen, ExitFunction exitProgram = leaveProcess);
    ~AppShell();

    AppShell(const AppShell&) = delete;
    AppShell& operator=(const AppShell&) = delete;

    void showScreen(ScreenId id);
    // A hidden screen's controls take no action, also none that assistive technology asks for.
    void hideScreen(ScreenId id);
    void endProgram();

    // Centres every window that shows again, on a screen that has changed its size or scale; a
    // menu that was open closes.
    void placeAgain();

    // The screen in a slot, or null while it has not been used yet.
    Screen* screen(ScreenId id) const;

    // Where the frame of a window of that outer size lies centred on its screen's work area, or
    // where it lies now when there is no screen at all.
    static QPoint centredPlace(const QWidget& window, QSize outerSize);

    // Ends the process at once with status 0: no closing handler, no destructor, no further
    // step of the caller runs, and every timer and sound stops with the process.
    [[noreturn]] static void leaveProcess();

private:
    static constexpr std::size_t kSlotCount = 4;

    ScreenFactory m_makeScreen;
    ExitFunction m_exitProgram;
    std::array<std::unique_ptr<Screen>, kSlotCount> m_screens;
};

} // namespace tonovka
