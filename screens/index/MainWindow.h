#pragma once

#include <QMainWindow>

#include "GameClock.h"
#include "GameState.h"
#include "GameStateObserver.h"
#include "HouseFront.h"
#include "HouseLayout.h"
#include "MainMenu.h"
#include "OuterSizeKeeper.h"
#include "Screen.h"
#include "Twips.h"

namespace tonovka {

class AppShell;
class AudioService;
class PictureSet;
class SoundPlayer;

// The window in which the game is played: the front of the flooding house, the score and the
// time left, and the menu of game commands. It owns the game, its clock and the music.
class MainWindow final : public QMainWindow, public Screen, private GameStateObserver {
    Q_OBJECT

public:
    // The window's size with its frame, which it holds.
    static constexpr QSize kOuterSize{pixels(kOuterWidth), pixels(kOuterHeight)};

    MainWindow(AppShell& shell, const PictureSet& pictures, AudioService& audio, const IntervalTimerFactory& makeTimer);
    ~MainWindow() override;

    QWidget& window() override { return *this; }
    void load() override;
    bool keepsItsPlace() const override { return true; } // its OuterSizeKeeper centres it
    void centreAgain() override;

    GameClock& clock() { return m_clock; }
    const GameState& state() const { return m_state; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void windowChanged(int window, Occupant who) override;
    void scoreChanged(const std::string& text) override;
    void timeLeftChanged(const std::string& text) override;
    void manCursorChanged(const std::string& text) override;
    void womanCursorChanged(const std::string& text) override;
    void timeRanOut() override;
    void targetReached() override;

    void showMenuItems();
    void showHelp();

    AppShell& m_shell;
    GameState m_state;
    GameClock m_clock;
    SoundPlayer* m_music;
    HouseFront m_house;
    MainMenu m_menu;
    OuterSizeKeeper* m_keeper;
};

} // namespace tonovka
