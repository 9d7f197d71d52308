#include "OuterSizeKeeper.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
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
    m_recheck.setSingleShot(true);
    m_recheck.setInterval(kRecheckMs);
    connect(&m_recheck, &QTimer::timeout, this, &OuterSizeKeeper::holdSize);
    m_window.winId();
    m_reported = m_given = m_window.windowHandle()->geometry();
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
        if (m_placed && !m_asked && m_reported.size() == heldClientSize() &&
            !m_window.windowHandle()->frameMargins().isNull())
            m_place = framePosition(m_reported);
        noteGiven();
        break;
    case QEvent::Resize:
        m_reported.setSize(static_cast<QResizeEvent*>(event)->size());
        noteGiven();
        break;
    case QEvent::Expose:
    case QEvent::WindowStateChange:
        break;
    default:
        return false;
    }
    // Hold the size once the window system has finished with the event.
    QTimer::singleShot(0, this, &OuterSizeKeeper::holdSize);
    return false;
}

void OuterSizeKeeper::noteGiven()
{
    if (!reportedHeld())
        m_given = m_reported;
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

bool OuterSizeKeeper::isHeld() const
{
    // The widget may believe it has the right size while the window system has given the
    // window another, without the widget hearing of it.
    const QSize client = heldClientSize();
    return !(m_window.windowState() & kLargeStates) && m_window.size() == client && m_window.minimumSize() == client &&
           m_window.maximumSize() == client && m_window.windowHandle()->size() == client &&
           m_window.frameGeometry().topLeft() == m_place;
}

bool OuterSizeKeeper::reportedHeld() const
{
    return m_placed && m_reported.size() == heldClientSize() && framePosition(m_reported) == m_place;
}

void OuterSizeKeeper::holdSize()
{
    QWindow* handle = m_window.windowHandle();
    if (!handle || !handle->isExposed() || (m_window.windowState() & Qt::WindowMinimized) || !frameKnown())
        return;

    if (!m_placed) {
        m_placed = true;
        m_place = m_window.frameGeometry().topLeft();
        if (const QScreen* screen = m_window.screen())
            m_place = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, m_outerSize, screen->availableGeometry())
                          .topLeft();
    }
    if (isHeld()) {
        // Qt takes a request as granted until the window system says otherwise; the keeper
        // waits for the window system's own report.
        if (reportedHeld()) {
            m_asked = false;
            m_answers.clear();
        }
        return;
    }
    // A change that the window manager made while the keeper waited for nothing, to a geometry
    // it has not given since the window last had its own, is a new one, with corrections of its
    // own. What it answers to a correction counts against that change, whatever geometry it
    // gives, so that a window manager that answers each correction with one of several
    // geometries in turn is left alone as surely as one that insists on one: that many times,
    // it is the window manager's decision, and the window stays.
    if (m_given != m_corrected) {
        if (!m_asked && !m_answers.contains(m_given)) {
            m_corrections = 0;
            m_answers.clear();
        }
        m_corrected = m_given;
        if (!m_answers.contains(m_given) && m_answers.size() < kMaxAnswers)
            m_answers.append(m_given);
    }
    if (m_corrections == kMaxCorrections) {
        m_asked = false;
        m_recheck.stop();
        return;
    }
    ++m_corrections;
    m_asked = true;

    if (m_window.windowState() & kLargeStates)
        m_window.setWindowState(m_window.windowState() & ~kLargeStates);
    // A fixed size also tells the window manager not to offer resizing or maximising.
    const QSize client = heldClientSize();
    if (m_window.size() != client || m_window.minimumSize() != client || m_window.maximumSize() != client)
        m_window.setFixedSize(client);
    // The window system may have given the window another size without the widget hearing of
    // it; then the widget believes it has the right size and would not ask again.
    if (handle->size() != client)
        handle->resize(client);
    // Without moving the frame back, a window manager may leave the window where the resize
    // pushed it.
    if (m_window.frameGeometry().topLeft() != m_place)
        m_window.move(m_place);
    m_recheck.start();
}

} // namespace tonovka
