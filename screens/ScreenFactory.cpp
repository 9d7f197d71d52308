#include "ScreenFactory.h"

#include "KonecScreen.h"
#include "MainWindow.h"
#include "VictoryScreen.h"
#include "WelcomeScreen.h"

namespace tonovka {

AppShell::ScreenFactory screenFactory(AppShell& shell, const PictureSet& pictures, AudioService& audio,
                                      IntervalTimerFactory makeTimer)
{
    // The victory screen stops the countdown of the main window's game, which exists by then:
    // only the main window shows the victory screen.
    auto game = std::make_shared<GameClock*>(nullptr);
    return [&shell, &pictures, &audio, makeTimer = std::move(makeTimer), game](ScreenId id) -> std::unique_ptr<Screen> {
        switch (id) {
        case ScreenId::welcome:
            return std::make_unique<WelcomeScreen>(shell, pictures, audio);
        case ScreenId::index: {
            auto window = std::make_unique<MainWindow>(shell, pictures, audio, makeTimer);
            *game = &window->clock();
            return window;
        }
        case ScreenId::Konec:
            return std::make_unique<KonecScreen>(shell);
        case ScreenId::Victory:
            return std::make_unique<VictoryScreen>(shell, [game] { (*game)->stopCountdown(); });
        }
        return nullptr;
    };
}

QSize gameSize()
{
    return MainWindow::kOuterSize;
}

} // namespace tonovka
