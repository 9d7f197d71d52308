#include "OuterSizeKeeper.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tonovka {

OuterSizeKeeper::OuterSizeKeeper(QWidget& window, QSize outerSize)
    : QObject(&window), m_window(window), m_outerSize(outerSize)
{
    // Until the frame is known, the client is given the whole size: that is right at once
    // when there is no window manager.
    m_window.setFixedSize(outerSize);
    m_recheck.setSingleShot(true);
    m_recheck.setInterval(kSettlingMs);
    connect(&m_recheck, &QTimer::timeout, this, &OuterSizeKeeper::holdSize);
    m_window.winId();
    m_window.windowHandle()->installEventFilter(this);
}

bool OuterSizeKeeper::eventFilter(QObject*, QEvent* event)
{
    const QWindow* handle = m_window.windowHandle();
    switch (event->type()) {
    case QEvent::Move:
        // The user moved the window: that is its place from now on. Moves while the size is
        // wrong, or just after this keeper set size or place, come from the window manager
        // fitting the frame, and are undone. The window, unlike the widget, already knows
        // where it is now.
        if (m_placed && handle->size() == heldClientSize() && !handle->frameMargins().isNull() &&
            (!m_sinceAdjusted.isValid() || m_sinceAdjusted.hasExpired(kSettlingMs)))
            m_place = handle->framePosition();
        Q_FALLTHROUGH();
    case QEvent::Expose:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        // Hold the size once the window system has finished with the event.
        QTimer::singleShot(0, this, &OuterSizeKeeper::holdSize);
        break;
    default:
        break;
    }
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
    if (m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        m_window.setWindowState(m_window.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));

    // A fixed size also tells the window manager not to offer resizing or maximising.
    const QSize client = heldClientSize();
    bool adjusted = false;
    if (m_window.size() != client || m_window.minimumSize() != client || m_window.maximumSize() != client) {
        m_window.setFixedSize(client);
        adjusted = true;
    }
    // The window system may have given the window another size without the widget hearing of
    // it; then the widget believes it has the right size and would not ask again.
    if (handle->size() != client) {
        handle->resize(client);
        adjusted = true;
    }
    // Without moving the frame back, a window manager may leave the window where the resize
    // pushed it.
    if (m_window.frameGeometry().topLeft() != m_place) {
        m_window.move(m_place);
        adjusted = true;
    }
    if (!adjusted) {
        m_rechecks = 0;
        return;
    }
    m_sinceAdjusted.start();
    // A window manager busy with a resize of its own may drop the request and send no further
    // event: look again once it has settled.
    if (m_rechecks < kMaxRechecks) {
        ++m_rechecks;
        m_recheck.start();
    }
}

} // namespace tonovka
