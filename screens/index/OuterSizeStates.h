#pragma once

namespace tonovka {

// How often the keeper of the main window's outer size corrects one change that the window
// manager makes to its geometry on its own. The scripts read it from house-layout.
inline constexpr int kMaxCorrections = 5;

// What the keeper is about. The window manager may give the window a size or place of its own at
// any time; the keeper corrects that change, and what the window manager answers to a correction
// counts against the same change, so that the two never resize each other without end.
enum class KeeperPhase {
    Unplaced,    // the frame is not known yet: the window is neither centred nor held
    Correcting,  // the keeper has asked for its geometry and waits for the window system's report
    JustGranted, // the window system reports the held geometry, so lately that the window manager
                 // may still be answering the correction
    Held,        // the held geometry has stood: what the window manager gives now is a new change
    Resting,     // the change has been corrected as often as the keeper corrects one: the window
                 // stays as the window manager has it
};

enum class KeeperEvent {
    Imposed,      // the window system reports a geometry other than the held one
    ImposedAgain, // one that the window manager already gave during the change last corrected
    Granted,      // it reports the held geometry
    Settled,      // nothing new has come for one look again since the correction was granted
};

struct KeeperState {
    KeeperPhase phase = KeeperPhase::Unplaced;
    int corrections = 0; // of the change in progress, the one under way included

    friend bool operator==(const KeeperState&, const KeeperState&) = default;
};

// The keeper corrects the window whenever this leads into Correcting with one correction more.
constexpr KeeperState nextKeeperState(KeeperState state, KeeperEvent event)
{
    using enum KeeperPhase;
    const bool answering = state.phase == Correcting || state.phase == JustGranted;
    switch (event) {
    case KeeperEvent::Imposed:
    case KeeperEvent::ImposedAgain:
        // Whatever geometry the window manager answers a correction with, or gives right after
        // granting one, it is the same change: a window manager that gives several in turn is
        // left alone as surely as one that insists on one.
        if (answering)
            return state.corrections < kMaxCorrections ? KeeperState{Correcting, state.corrections + 1}
                                                       : KeeperState{Resting, state.corrections};
        // Once the keeper has given in, only a geometry new to that change is a new change.
        if (state.phase == Resting && event == KeeperEvent::ImposedAgain)
            return state;
        return {Correcting, 1};
    case KeeperEvent::Granted:
        return answering ? KeeperState{JustGranted, state.corrections} : KeeperState{Held, 0};
    case KeeperEvent::Settled:
        return state.phase == JustGranted ? KeeperState{Held, 0} : state;
    }
    return state;
}

} // namespace tonovka
