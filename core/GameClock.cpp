#include "GameClock.h"

#include "GameState.h"

namespace tonovka {

GameClock::GameClock(GameState& state, const IntervalTimerFactory& makeTimer)
{
    m_timers[chlapTIME] = makeTimer("chlapTIME", 1, [&state] { state.advanceManCursor(); });
    m_timers[zenaTIME] = makeTimer("zenaTIME", 1, [&state] { state.advanceWomanCursor(); });
    m_timers[LidiTIME] = makeTimer("LidiTIME", 1000, [&state] { state.placeMan(); });
    m_timers[lidi2TIME] = makeTimer("lidi2TIME", 1000, [&state] { state.placeWoman(); });
    m_timers[Time] = makeTimer("Time", 400, [&state] { state.countDown(); });
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
