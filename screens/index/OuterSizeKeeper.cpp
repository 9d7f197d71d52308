#include "OuterSizeKeeper.h"

#include "AppShell.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QWidget>
#include <QWindow>

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
    connect(&m_lookAgain, &QTimer::timeout, this, [this] { look(true); });
    m_window.winId();
    m_reported = m_window.windowHandle()->geometry();
    m_window.windowHandle()->installEventFilter(this);
}

bool OuterSizeKeeper::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
        m_reported.moveTopLeft(static_cast<QMoveEvent*>(event)->pos());
        if (m_reported.size() == heldClientSize() && !m_window.windowHandle()->frameMargins().isNull())
            take(nextKeeperStep(m_state, KeeperSight::MovedHeld, false));
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
    QTimer::singleShot(0, this, [this] { look(false); });
    return false;
}

void OuterSizeKeeper::startOver()
{
    m_state = {};
    m_lookAgain.stop();
    look(false);
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

KeeperSight OuterSizeKeeper::see() const
{
    const QWindow* handle = m_window.windowHandle();
    if (!handle->isExposed() || (m_window.windowState() & Qt::WindowMinimized) || !frameKnown())
        return KeeperSight::Unseen;
    // Qt may also learn of another geometry without an event, when the window had that one
    // before the request.
    const QSize client = heldClientSize();
    if (handle->size() != client || handle->framePosition() != m_place)
        return m_changeGiven.contains(handle->geometry()) ? KeeperSight::GivenAgain : KeeperSight::Given;
    if ((m_window.windowState() & kLargeStates) || m_window.size() != client || m_window.minimumSize() != client ||
        m_window.maximumSize() != client || m_window.frameGeometry().topLeft() != m_place)
        return KeeperSight::WidgetAstray;
    return m_reported.size() == client && framePosition(m_reported) == m_place ? KeeperSight::Reported
                                                                               : KeeperSight::Unreported;
}

void OuterSizeKeeper::look(bool lookingAgain)
{
    const QWindow* handle = m_window.windowHandle();
    if (!handle)
        return;
    if (m_state.phase == KeeperPhase::Unplaced)
        m_place = AppShell::centredPlace(m_window, m_outerSize);
    const KeeperSight sight = see();
    const QRect given = handle->geometry();
    take(nextKeeperStep(m_state, sight, lookingAgain));
    // What the window manager gave belongs to the change in progress, also to one this look began.
    if ((sight == KeeperSight::Given || sight == KeeperSight::GivenAgain) && !m_changeGiven.contains(given))
        m_changeGiven.append(given);
}

void OuterSizeKeeper::take(KeeperStep step)
{
    m_state = step.state;
    switch (step.action) {
    case KeeperAction::None:
        break;
    case KeeperAction::BeginCorrecting:
        m_changeGiven.clear();
        [[fallthrough]];
    case KeeperAction::CorrectAgain:
        correct();
        m_lookAgain.start();
        break;
    case KeeperAction::AwaitAnswer:
        m_lookAgain.start();
        break;
    case KeeperAction::TakeQtsWord:
        takeQtsWord();
        m_lookAgain.start();
        break;
    case KeeperAction::TakePlace:
        m_place = framePosition(m_reported);
        break;
    case KeeperAction::GiveIn:
        m_lookAgain.stop();
        break;
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
}

void OuterSizeKeeper::takeQtsWord()
{
    // Only a report tells the widget its window's geometry: the keeper gives it the one lost.
    QWindow* handle = m_window.windowHandle();
    QResizeEvent resize(handle->size(), m_reported.size());
    QCoreApplication::sendEvent(handle, &resize);
    QMoveEvent move(handle->position(), m_reported.topLeft());
    QCoreApplication::sendEvent(handle, &move);
}

} // namespace tonovka
