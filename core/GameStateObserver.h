#pragma once

#include <string>

#include "Occupant.h"

namespace tonovka {

// Told by GameState of each change as the operation makes it, so that a screen can update only
// what changed. The two game ends are told last, once the operation has made all its changes.
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
