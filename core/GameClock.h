#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string_view>

#include "IntervalTimer.h"

namespace tonovka {

class GameState;

// The five timers that drive a GameState, and the three menu commands that switch them.
// Every timer is off at creation; nothing is ever reset.
class GameClock {
public:
    enum Timer { chlapTIME, zenaTIME, LidiTIME, lidi2TIME, Time, TimerCount };

    // How each timer is made; bench/tick_pattern makes the same, to see when the platform calls them.
    struct Made {
        std::string_view name;
        int intervalMs;
    };
    static constexpr std::array<Made, TimerCount> kMade{
        {{"chlapTIME", 1}, {"zenaTIME", 1}, {"LidiTIME", 1000}, {"lidi2TIME", 1000}, {"Time", 400}}};

    GameClock(GameState& state, const IntervalTimerFactory& makeTimer);

    void newGame();
    void pauseGame();
    void continueGame();
    void stopCountdown();

    bool isOn(Timer timer) const { return m_timers[timer]->isOn(); }

    // Visibility of the menu items "&Pauza" and "&Pokračovat".
    bool pauseItemShown() const { return m_pauseShown; }
    bool continueItemShown() const { return m_continueShown; }
    void setMenuItemsChanged(std::function<void()> notify) { m_menuItemsChanged = std::move(notify); }

private:
    void switchOn(Timer timer) { m_timers[timer]->setOn(true); }
    void switchOff(Timer timer) { m_timers[timer]->setOn(false); }
    void showPauseItem(bool shown);
    void showContinueItem(bool shown);

    std::array<std::unique_ptr<IntervalTimer>, TimerCount> m_timers;
    bool m_pauseShown = true;
    bool m_continueShown = false;
    std::function<void()> m_menuItemsChanged = [] {};
};

} // namespace tonovka
