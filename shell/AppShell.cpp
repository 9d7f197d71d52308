#include "AppShell.h"

#include "Platform.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

namespace tonovka {

namespace {

std::size_t slot(ScreenId id)
{
    return static_cast<std::size_t>(id);
}

// Whether a window that lies so far from where it was asked to be was put there by a frame: its
// own, taken or not taken into the place asked for, or one the window manager placed as if the
// window had it. Nothing at all is no shift.
bool isShiftByAFrame(QPoint shift)
{
    constexpr int kWidestFrame = 100; // a title bar and borders, at twice the usual scale
    return !shift.isNull() && std::abs(shift.x()) <= kWidestFrame && std::abs(shift.y()) <= kWidestFrame;
}

// The window frame is known only once the window is first exposed; the window is then centred
// again by its outer size. A frame smaller than the window is one that the window manager has not
// sized yet: the next event will tell.
class CentreWithFrame final : public QObject {
public:
    explicit CentreWithFrame(QWidget& window) : QObject(&window), m_window(window)
    {
        window.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Expose && type != QEvent::Move && type != QEvent::Resize) ||
            !m_window.windowHandle()->isExposed())
            return false;
        // The window knows its frame as soon as the window system tells it; the widget may still
        // hold none (a page that draws the frames at a scale of its own told it late).
        const QSize outer = m_window.windowHandle()->frameGeometry().size();
        const QSize client = m_window.size();
        if (outer.width() < client.width() || outer.height() < client.height())
            return false;
        // The window, unlike the widget, already knows where the window manager has put it. A
        // window manager may place even a window without a frame as if it had one: i3 leaves a
        // borderless window where its title bar would have pushed it, and moves it on request.
        // The client's place is asked for, as a move of the widget asks, which every window
        // manager honours, whatever it makes of window gravity. A window manager that put the
        // window farther off, by a rule of its own, would put it there again, and is left alone:
        // weston keeps its X windows apart from where they show, and crashes when asked to move
        // one that it has not shown yet.
        QWindow* handle = m_window.windowHandle();
        const QPoint place = AppShell::centredPlace(m_window, outer);
        if (!isShiftByAFrame(handle->framePosition() - place)) {
            // On a busy machine the window manager's move may come only after the window is
            // first exposed (i3's did): a window without a frame, which the player cannot move,
            // is watched a while longer. A window with one is the player's to move at once.
            if (!m_window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
                watched->removeEventFilter(this);
                deleteLater();
            } else if (!m_watchingOn) {
                m_watchingOn = true;
                QTimer::singleShot(kWatchOnMs, this, &QObject::deleteLater);
            }
            return false;
        }
        watched->removeEventFilter(this);
        const QMargins frame = handle->frameMargins();
        handle->setPosition(place + QPoint(frame.left(), frame.top()));
        deleteLater();
        return false;
    }

private:
    static constexpr int kWatchOnMs = 2000;
    QWidget& m_window;
    bool m_watchingOn = false;
};

} // namespace

AppShell::AppShell(ScreenFactory makeScreen, ExitFunction exitProgram)
    : m_makeScreen(std::move(makeScreen)), m_exitProgram(std::move(exitProgram))
{
}

AppShell::~AppShell()
{
    // The screens may refer to one another (the victory screen stops the main window's clock),
    // so they go in the reverse order of their slots.
    for (auto it = m_screens.rbegin(); it != m_screens.rend(); ++it)
        it->reset();
}

void AppShell::showScreen(ScreenId id)
{
    std::unique_ptr<Screen>& screen = m_screens[slot(id)];
    if (!screen) {
        screen = m_makeScreen(id);
        screen->load();
        QWidget& window = screen->window();
        window.move(centredPlace(window, window.size()));
        // As a window of its own size, also where the window system would show a plain
        // top-level window full screen (a browser page).
        window.showNormal();
        window.activateWindow(); // a screen that opens takes the keyboard
        if (!screen->keepsItsPlace())
            new CentreWithFrame(window);
        return;
    }
    if (!screen->window().isVisible()) {
        screen->window().setEnabled(true);
        screen->window().showNormal();
        screen->window().activateWindow();
    }
}

void AppShell::hideScreen(ScreenId id)
{
    if (Screen* screen = m_screens[slot(id)].get()) {
        // Assistive technology still reaches the controls of a hidden window, and a control that
        // is enabled takes its press there.
        screen->window().setEnabled(false);
        screen->window().hide();
    }
}

void AppShell::endProgram()
{
    m_exitProgram();
}

void AppShell::placeAgain()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    // The screens and a message box over them alike.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        const auto owner = std::find_if(m_screens.begin(), m_screens.end(),
                                        [window](const auto& screen) { return screen && &screen->window() == window; });
        if (owner != m_screens.end() && (*owner)->keepsItsPlace())
            (*owner)->centreAgain();
        else
            window->move(centredPlace(*window, window->windowHandle()->frameGeometry().size()));
    }
}

Screen* AppShell::screen(ScreenId id) const
{
    return m_screens[slot(id)].get();
}

QPoint AppShell::centredPlace(const QWidget& window, QSize outerSize)
{
    // A widget knows a screen whenever there is one: its window's, or the primary one.
    const QScreen* screen = window.screen();
    if (!screen)
        return window.frameGeometry().topLeft();
    // alignedRect rounds the way a centred window is expected to sit; QRect::center() is one
    // pixel off for even sizes.
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, outerSize, screen->availableGeometry()).topLeft();
}

void AppShell::leaveProcess()
{
    platform::leaveProcess();
}

} // namespace tonovka
