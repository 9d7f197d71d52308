#include "OuterSizeKeeper.h"

#include "AppShell.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace tonovka {

namespace {

constexpr Qt::WindowStates kLargeStates = Qt::WindowMaximized | Qt::WindowFullScreen;

} // namespace

OuterSizeKeeper::OuterSizeKeeper(QWidget& window, QSize outerSize)
    : QObject(&window), m_window(window), m_outerSize(outerSize)
{
    // Until the frame is known, the client is given the whole size: that is right at once
    // when there is no window manager.
    m_window.setFixedSize(outerSize);
    m_lookAgain.setSingleShot(true);
    m_lookAgain.setInterval(kLookAgainMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &OuterSizeKeeper::lookAgain);
    m_window.winId();
    m_reported = m_window.windowHandle()->geometry();
    m_window.windowHandle()->installEventFilter(this);
}

bool OuterSizeKeeper::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
        m_reported.moveTopLeft(static_cast<QMoveEvent*>(event)->pos());
        // A move of a window that has its size, while the keeper waits for nothing that it asked
        // for, is the user's: that is the window's place from now on. Moves while the keeper
        // waits come from the window manager fitting the frame, and are undone.
        if (m_state.phase != KeeperPhase::Unplaced && m_state.phase != KeeperPhase::Correcting &&
            m_reported.size() == heldClientSize() && !m_window.windowHandle()->frameMargins().isNull())
            m_place = framePosition(m_reported);
        break;
    case QEvent::Resize:
        m_reported.setSize(static_cast<QResizeEvent*>(event)->size());
        break;
    case QEvent::Expose:
    case QEvent::WindowStateChange:
        break;
    default:
        return false;
    }
    // Look once the window system has finished with the event.
    QTimer::singleShot(0, this, &OuterSizeKeeper::look);
    return false;
}

QSize OuterSizeKeeper::heldClientSize() const
{
    return m_outerSize.shrunkBy(m_window.windowHandle()->frameMargins());
}

bool OuterSizeKeeper::frameKnown() const
{
    // A frame not yet sized by the window manager reads as negative margins.
    const QMargins frame = m_window.windowHandle()->frameMargins();
    return frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0;
}

QPoint OuterSizeKeeper::framePosition(const QRect& client) const
{
    const QMargins frame = m_window.windowHandle()->frameMargins();
    return client.topLeft() - QPoint(frame.left(), frame.top());
}

bool OuterSizeKeeper::windowHeld() const
{
    const QWindow* handle = m_window.windowHandle();
    return handle->size() == heldClientSize() && handle->framePosition() == m_place;
}

bool OuterSizeKeeper::isHeld() const
{
    // The widget may believe it has the right size while the window system has given the
    // window another, without the widget hearing of it.
    const QSize client = heldClientSize();
    return windowHeld() && !(m_window.windowState() & kLargeStates) && m_window.size() == client &&
           m_window.minimumSize() == client && m_window.maximumSize() == client &&
           m_window.frameGeometry().topLeft() == m_place;
}

bool OuterSizeKeeper::reportedHeld() const
{
    return m_reported.size() == heldClientSize() && framePosition(m_reported) == m_place;
}

void OuterSizeKeeper::look()
{
    QWindow* handle = m_window.windowHandle();
    if (!handle || !handle->isExposed() || (m_window.windowState() & Qt::WindowMinimized) || !frameKnown())
        return;
    if (m_state.phase == KeeperPhase::Unplaced)
        m_place = AppShell::centredPlace(m_window, m_outerSize);
    // Qt takes a request as granted until the window system says otherwise, and may learn of
    // another geometry without an event, when the window had that one before the request: any
    // geometry but the held one that Qt knows for the window, the window system gave it. The
    // widget hears of a size only after the window, so one that has not yet heard of a
    // correction is no answer to it.
    const bool given = !windowHeld();
    if (given)
        m_given = handle->geometry();
    if (given || (!isHeld() && m_state.phase != KeeperPhase::Correcting))
        advance(m_changeGiven.contains(m_given) ? KeeperEvent::ImposedAgain : KeeperEvent::Imposed);
    else if (isHeld() && reportedHeld())
        advance(KeeperEvent::Granted);
}

void OuterSizeKeeper::lookAgain()
{
    const bool granted = m_state.phase == KeeperPhase::JustGranted;
    // A window system that has not reported the correction by now never will: what Qt knows
    // is its answer, which the widget, too, would otherwise never hear of.
    if (m_state.phase == KeeperPhase::Correcting && windowHeld())
        reportWhatQtKnows();
    look();
    if (granted)
        advance(KeeperEvent::Settled);
}

void OuterSizeKeeper::reportWhatQtKnows()
{
    QWindow* handle = m_window.windowHandle();
    QResizeEvent resize(handle->size(), m_reported.size());
    QCoreApplication::sendEvent(handle, &resize);
    QMoveEvent move(handle->position(), m_reported.topLeft());
    QCoreApplication::sendEvent(handle, &move);
}

void OuterSizeKeeper::advance(KeeperEvent event)
{
    const KeeperState before = std::exchange(m_state, nextKeeperState(m_state, event));
    if (event == KeeperEvent::Imposed || event == KeeperEvent::ImposedAgain) {
        if (m_state.phase == KeeperPhase::Correcting && m_state.corrections == 1)
            m_changeGiven.clear();
        if (!m_changeGiven.contains(m_given))
            m_changeGiven.append(m_given);
    }
    switch (m_state.phase) {
    case KeeperPhase::Correcting:
        if (m_state != before)
            correct();
        break;
    case KeeperPhase::JustGranted:
        // The window manager may yet answer the correction: until this runs out, what it gives
        // counts against the same change.
        if (before.phase != KeeperPhase::JustGranted)
            m_lookAgain.start();
        break;
    default:
        m_lookAgain.stop();
    }
}

void OuterSizeKeeper::correct()
{
    if (m_window.windowState() & kLargeStates)
        m_window.setWindowState(m_window.windowState() & ~kLargeStates);
    // A fixed size also tells the window manager not to offer resizing or maximising.
    const QSize client = heldClientSize();
    if (m_window.size() != client || m_window.minimumSize() != client || m_window.maximumSize() != client)
        m_window.setFixedSize(client);
    // The window system may have given the window another size without the widget hearing of
    // it; then the widget believes it has the right size and would not ask again.
    QWindow* handle = m_window.windowHandle();
    if (handle->size() != client)
        handle->resize(client);
    // Without moving the frame back, a window manager may leave the window where the resize
    // pushed it.
    if (m_window.frameGeometry().topLeft() != m_place)
        m_window.move(m_place);
    m_lookAgain.start();
}

} // namespace tonovka
