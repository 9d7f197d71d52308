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
    // A screen that keeps its own place once its frame is known is centred by the shell only
    // before it first shows: two that moved it would each undo the other's move.
    virtual bool keepsItsPlace() const { return false; }

    // Such a screen is centred again, as at first, on a screen that has changed its size or scale.
    virtual void centreAgain() {}
};

} // namespace tonovka
