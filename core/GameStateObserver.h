#pragma once

#include <string>

#include "Occupant.h"

namespace tonovka {

// Told by GameState what an operation changed, once the operation has finished, so that a
// screen can update only what changed. The two game ends come last.
class GameStateObserver {
public:
    virtual ~GameStateObserver() = default;

    virtual void windowChanged(int /*window*/, Occupant) {}
    virtual void scoreChanged(const std::string&) {}
    virtual void timeLeftChanged(const std::string&) {}
    virtual void manCursorChanged(const std::string&) {}
    virtual void womanCursorChanged(const std::string&) {}

    virtual void timeRanOut() {}
    virtual void targetReached() {}
};

} // namespace tonovka
