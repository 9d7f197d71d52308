#pragma once

#include <array>
#include <string>

#include "GameStateObserver.h"
#include "Occupant.h"

namespace tonovka {

// One game: the fifteen windows of the house, the two cursors, the score and the time left,
// and every rule that changes them. It is called by the clock and the main window and calls
// nobody but its observer.
class GameState {
public:
    static constexpr int kWindowCount = 15;

    GameState() = default;
    // The observer may be the state's own silent one, which a copy would still point into.
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    void setObserver(GameStateObserver* observer) { m_observer = observer ? observer : &m_silent; }

    // One call per tick of the clock's timers.
    void advanceManCursor();
    void advanceWomanCursor();
    void placeMan();
    void placeWoman();
    void countDown();

    // A click on window n, 1 to 15.
    void clickWindow(int n);

    Occupant window(int n) const { return m_windows.at(static_cast<std::size_t>(n - 1)); }
    const std::string& manCursor() const { return m_manCursor; }
    const std::string& womanCursor() const { return m_womanCursor; }
    const std::string& score() const { return m_score; }
    const std::string& timeLeft() const { return m_timeLeft; }

private:
    void place(const std::string& cursor, Occupant who);
    void setWindow(int n, Occupant who);
    void setScore(std::string text);
    void setTimeLeft(std::string text);

    std::array<Occupant, kWindowCount> m_windows{};
    std::string m_manCursor = "1";
    std::string m_womanCursor = "7";
    std::string m_score = "0";
    std::string m_timeLeft = "50";

    GameStateObserver m_silent;
    GameStateObserver* m_observer = &m_silent;
};

} // namespace tonovka
