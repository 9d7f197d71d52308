#pragma once

#include <functional>

class QWindow;

namespace tonovka {

// Calls then() once, when the window is first exposed, that is once it is mapped and about to
// be drawn. Work that can wait a few milliseconds is started there so that it does not slow the
// first window down.
void whenFirstExposed(QWindow& window, std::function<void()> then);

} // namespace tonovka
