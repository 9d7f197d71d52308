#pragma once

// Helpers for the game tests: the board as text, and an observer that writes down what the
// game state reports.

#include <string>
#include <vector>

#include "GameState.h"

namespace tonovka::test {

// The fifteen windows as three rows of five, "." empty, "M" man, "W" woman:
// "M....|..W..|.....".
inline std::string board(const GameState& state)
{
    std::string text;
    for (int n = 1; n <= GameState::kWindowCount; ++n) {
        const Occupant who = state.window(n);
        text += who == Occupant::Man ? 'M' : who == Occupant::Woman ? 'W' : '.';
        if (n % 5 == 0 && n != GameState::kWindowCount)
            text += '|';
    }
    return text;
}

class RecordingObserver final : public GameStateObserver {
public:
    void windowChanged(int window, Occupant who) override
    {
        events.push_back("window " + std::to_string(window) + " " +
                         (who == Occupant::Man     ? "M"
                          : who == Occupant::Woman ? "W"
                                                   : "."));
    }
    void scoreChanged(const std::string& text) override { events.push_back("score " + text); }
    void timeLeftChanged(const std::string& text) override { events.push_back("time " + text); }
    void manCursorChanged(const std::string& text) override { events.push_back("man " + text); }
    void womanCursorChanged(const std::string& text) override { events.push_back("woman " + text); }
    void timeRanOut() override
    {
        events.push_back("timeRanOut");
        ++timeOuts;
    }
    void targetReached() override
    {
        events.push_back("targetReached");
        ++victories;
    }

    std::vector<std::string> events;
    int timeOuts = 0;
    int victories = 0;
};

// Moves the man cursor to window n (1 to 15), places a man there and rescues him.
inline void rescueMan(GameState& state, int n)
{
    while (state.manCursor() != std::to_string(n))
        state.advanceManCursor();
    state.placeMan();
    state.clickWindow(n);
}

} // namespace tonovka::test
