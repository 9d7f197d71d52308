#include "Platform.h"

#include "GameScale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qwindowsysteminterface.h>

#include <emscripten.h>
#include <emscripten/val.h>

#include <string>

namespace tonovka::platform {

namespace {

// The page draws each window's frame, its title bar, border and shadow, in CSS pixels of its own,
// beside the game's drawing: they are scaled with the game, through a property that the page's rules
// for the frames read (the page's screen holds them in a shadow tree, where the page's own style
// sheet does not reach).
void scaleFrames(double scale)
{
    using emscripten::val;
    const val host = val::module_property("qtContainerElements")[0].call<val>("querySelector", val("#qt-shadow-container"));
    if (host.isNull() || host.isUndefined() || host["shadowRoot"].isNull())
        return;
    if (host["dataset"]["tonovkaFrames"].isUndefined()) {
        val style = val::global("document").call<val>("createElement", val("style"));
        style.set("textContent", std::string(R"css(
            .qt-screen { --border-width: calc(4px * var(--tonovka-scale, 1)); }
            .title-bar { height: calc(18px * var(--tonovka-scale, 1)); padding-bottom: calc(4px * var(--tonovka-scale, 1));
                         font-size: calc(16px * var(--tonovka-scale, 1)); }
            .title-bar .image-button { width: calc(18px * var(--tonovka-scale, 1)); height: calc(18px * var(--tonovka-scale, 1)); }
            .title-bar .image-button img { width: calc(10px * var(--tonovka-scale, 1)); height: calc(10px * var(--tonovka-scale, 1));
                                           background-size: 100% 100%; }
            .qt-window.has-shadow { box-shadow:
                rgb(0 0 0 / 20%) 0 calc(10px * var(--tonovka-scale, 1)) calc(16px * var(--tonovka-scale, 1)) 0,
                rgb(0 0 0 / 19%) 0 calc(6px * var(--tonovka-scale, 1)) calc(20px * var(--tonovka-scale, 1)) 0; }
        )css"));
        host["shadowRoot"].call<void>("appendChild", style);
        host["dataset"].set("tonovkaFrames", val("1"));
    }
    host["style"].call<void>("setProperty", val("--tonovka-scale"), val(std::to_string(scale)));
}

} // namespace

// A page has one window system, the page itself.
void prepareWindowSystem()
{
}

// A page has no task bar.
void keepOutOfTaskbar(QWidget&)
{
}

// The page may be a phone upright, a laptop zoomed to 200 %, a browser window the player narrows
// during a game: whenever its size or its pixels change, Qt's scale for the page is set anew, so
// that the whole game fits.
void fitGameToScreen(QSize gameSize, std::function<void()> placeAgain)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const auto fit = [screen, gameSize, placeAgain = std::move(placeAgain)] {
        // The page's own size, in CSS pixels, and its device pixels to each, as the browser gives
        // them: neither depends on the game's scale.
        const QPlatformScreen* page = screen->handle();
        const QSizeF size = page->geometry().size();
        if (size.isEmpty())
            return;
        const qreal pixels = page->devicePixelRatio();
        const qreal scale = gameScale(size.width(), size.height(), pixels, gameSize.width(), gameSize.height()) / pixels;
        if (!qFuzzyCompare(scale, QHighDpiScaling::factor(screen))) {
            // The screen's new size in the game's pixels comes back here, with the scale set.
            QHighDpiScaling::setScreenFactor(screen, scale);
            scaleFrames(scale);
            for (QWindow* window : QGuiApplication::topLevelWindows())
                QWindowSystemInterface::handleWindowDevicePixelRatioChanged<QWindowSystemInterface::SynchronousDelivery>(
                    window);
        }
        placeAgain();
    };
    QObject::connect(screen, &QScreen::geometryChanged, screen, fit);
    fit();
}

// A page cannot close itself: the program ends, its timers with it, and the page says so
// (packaging/web).
void leaveProcess()
{
    emscripten_force_exit(0);
}

} // namespace tonovka::platform
