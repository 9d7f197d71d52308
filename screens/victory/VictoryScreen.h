#pragma once

#include "EndScreenFrame.h"
#include "Screen.h"

class QLabel;

namespace tonovka {

class GameClock;

// "Winner !!!": the screen that opens when the score reaches its target. Loading it stops the
// countdown of the game; the game itself goes on behind it.
class VictoryScreen final : public EndScreenFrame, public Screen {
    Q_OBJECT

public:
    VictoryScreen(AppShell& shell, GameClock& clock);

    QWidget& window() override { return *this; }
    void load() override;

private:
    GameClock& m_clock;
    QLabel* m_Label1;
};

} // namespace tonovka
