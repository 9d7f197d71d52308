#include "GameClock.h"

#include "GameState.h"

namespace tonovka {

GameClock::GameClock(GameState& state, const IntervalTimerFactory& makeTimer)
{
    const auto make = [&makeTimer, this](Timer timer, std::function<void()> tick) {
        m_timers[timer] = makeTimer(kMade[timer].name, kMade[timer].intervalMs, std::move(tick));
    };
    make(chlapTIME, [&state] { state.advanceManCursor(); });
    make(zenaTIME, [&state] { state.advanceWomanCursor(); });
    make(LidiTIME, [&state] { state.placeMan(); });
    make(lidi2TIME, [&state] { state.placeWoman(); });
    make(Time, [&state] { state.countDown(); });
}

void GameClock::newGame()
{
    switchOn(zenaTIME);
    switchOn(chlapTIME);
    switchOn(Time);
    switchOn(LidiTIME);
    switchOn(lidi2TIME);
}

void GameClock::pauseGame()
{
    switchOff(LidiTIME);
    switchOff(lidi2TIME);
    switchOff(Time);
    showPauseItem(false);
    showContinueItem(true);
}

void GameClock::continueGame()
{
    showPauseItem(true);
    showContinueItem(false);
    switchOn(LidiTIME);
    switchOn(lidi2TIME);
    switchOn(Time);
}

void GameClock::stopCountdown()
{
    switchOff(Time);
}

void GameClock::showPauseItem(bool shown)
{
    if (m_pauseShown == shown)
        return;
    m_pauseShown = shown;
    m_menuItemsChanged();
}

void GameClock::showContinueItem(bool shown)
{
    if (m_continueShown == shown)
        return;
    m_continueShown = shown;
    m_menuItemsChanged();
}

} // namespace tonovka
