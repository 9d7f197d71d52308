#include "ScreenFactory.h"

#include "KonecScreen.h"
#include "MainWindow.h"
#include "VictoryScreen.h"
#include "WelcomeScreen.h"

namespace tonovka {

AppShell::ScreenFactory screenFactory(AppShell& shell, const PictureSet& pictures, AudioService& audio,
                                      IntervalTimerFactory makeTimer)
{
    return [&shell, &pictures, &audio, makeTimer = std::move(makeTimer)](ScreenId id) -> std::unique_ptr<Screen> {
        switch (id) {
        case ScreenId::welcome:
            return std::make_unique<WelcomeScreen>(shell, pictures, audio);
        case ScreenId::index:
            return std::make_unique<MainWindow>(shell, pictures, audio, makeTimer);
        case ScreenId::Konec:
            return std::make_unique<KonecScreen>(shell);
        case ScreenId::Victory:
            // Only the main window shows the victory screen, so it exists by then.
            return std::make_unique<VictoryScreen>(shell, static_cast<MainWindow*>(shell.screen(ScreenId::index))->clock());
        }
        return nullptr;
    };
}

} // namespace tonovka
