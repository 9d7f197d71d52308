#pragma once

class QWidget;

namespace tonovka {

// The four screens of the program, as the shell knows them.
enum class ScreenId { welcome, index, Konec, Victory };

// A screen as the shell sees it: one top-level window, and a load handler that runs once,
// after the screen is built and before it is first shown.
class Screen {
public:
    virtual ~Screen() = default;
    virtual QWidget& window() = 0;
    virtual void load() {}
};

} // namespace tonovka
