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

// What the keeper finds. It looks whenever the window system has told the window something, and
// looks again a while after it has asked for its geometry or has been granted it. Three parties
// know a geometry for the window: Qt, which takes a request as granted until the window system
// says otherwise; the widget, which hears of a geometry only after Qt; and the window system,
// whose last report the keeper keeps.
enum class KeeperSight {
    Unseen,       // the window is hidden or minimised, or its frame is not known yet
    Given,        // Qt knows a geometry other than the held one: the window system gave it
    GivenAgain,   // one that the window manager already gave during the change last corrected
    WidgetAstray, // Qt knows the held geometry, but the widget has another, is maximised or
                  // may be resized
    Unreported,   // both know the held geometry, but the window system has reported another
    Reported,     // all three know the held geometry
    MovedHeld,    // the window system reports a move of the framed window at its held size
};

// What the keeper does on what it finds.
enum class KeeperAction {
    None,
    BeginCorrecting, // forget what the window manager gave during the last change, and correct
    CorrectAgain,    // ask again for the held geometry, and look again a while later
    AwaitAnswer,     // look again a while later: the window manager may yet answer
    TakeQtsWord,     // the report is lost: take the geometry Qt knows as reported, also for the
                     // widget, and await the answer as above
    TakePlace,       // the window's place is where the move put it, from now on
    GiveIn,          // stop looking again: the window stays as the window manager has it
};

struct KeeperState {
    KeeperPhase phase = KeeperPhase::Unplaced;
    int corrections = 0; // of the change in progress, the one under way included

    friend bool operator==(const KeeperState&, const KeeperState&) = default;
};

struct KeeperStep {
    KeeperState state;
    KeeperAction action = KeeperAction::None;
};

// Every decision of the keeper. lookingAgain tells a look of the keeper's own, a while after it
// corrected or was granted, from one that a report of the window system's set off.
constexpr KeeperStep nextKeeperStep(KeeperState state, KeeperSight sight, bool lookingAgain)
{
    using enum KeeperPhase;
    using enum KeeperAction;
    const bool correcting = state.phase == Correcting;
    const bool granted = state.phase == JustGranted;
    switch (sight) {
    case KeeperSight::Unseen:
        // A correction granted stands also while the window cannot be seen; one asked for is
        // answered only once it can be, and the keeper looks on until then.
        if (lookingAgain && granted)
            return {{Held, 0}};
        return {state, lookingAgain && correcting ? AwaitAnswer : None};
    case KeeperSight::MovedHeld:
        // Moves while the keeper waits for what it asked for come from the window manager fitting
        // the frame, and are undone; any other move is the user's.
        return {state, state.phase == Unplaced || correcting ? None : TakePlace};
    case KeeperSight::WidgetAstray:
        // A widget that has not yet heard of a correction is no answer to it, until the keeper
        // has waited for the answer in vain.
        if (correcting)
            return {lookingAgain ? KeeperState{JustGranted, state.corrections} : state,
                    lookingAgain ? TakeQtsWord : None};
        [[fallthrough]]; // outside a correction, what the widget has came with a change already seen
    case KeeperSight::GivenAgain:
    case KeeperSight::Given:
        // Whatever geometry the window manager answers a correction with, or gives right after
        // granting one, it is the same change: a window manager that gives several in turn is
        // left alone as surely as one that insists on one.
        if (correcting || granted)
            return state.corrections < kMaxCorrections ? KeeperStep{{Correcting, state.corrections + 1}, CorrectAgain}
                                                       : KeeperStep{{Resting, state.corrections}, GiveIn};
        // Once the keeper has given in, only a geometry new to that change is a new change.
        if (state.phase == Resting && sight != KeeperSight::Given)
            return {state};
        return {{Correcting, 1}, BeginCorrecting};
    case KeeperSight::Unreported:
        // A window system that has not reported the correction when the keeper looks again never
        // will: what Qt knows is its answer.
        if (lookingAgain && correcting)
            return {{JustGranted, state.corrections}, TakeQtsWord};
        return {lookingAgain && granted ? KeeperState{Held, 0} : state};
    case KeeperSight::Reported:
        if (correcting)
            return {{JustGranted, state.corrections}, AwaitAnswer};
        // A correction granted and left alone until the keeper looks again has stood.
        return {granted && !lookingAgain ? state : KeeperState{Held, 0}};
    }
    return {state};
}

} // namespace tonovka
