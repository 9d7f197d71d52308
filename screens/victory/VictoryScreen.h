#pragma once

#include <functional>

#include "EndScreenFrame.h"
#include "Screen.h"

class QLabel;

namespace tonovka {

// "Winner !!!": the screen that opens when the score reaches its target. Loading it stops the
// countdown of the game; the game itself goes on behind it.
class VictoryScreen final : public EndScreenFrame, public Screen {
    Q_OBJECT

public:
    // stopCountdown stops the countdown of the game that this screen crowns.
    VictoryScreen(AppShell& shell, std::function<void()> stopCountdown);

    QWidget& window() override { return *this; }
    void load() override;

private:
    std::function<void()> m_stopCountdown;
    QLabel* m_Label1;
};

} // namespace tonovka
