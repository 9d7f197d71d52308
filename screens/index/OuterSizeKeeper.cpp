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
    m_window.resize(outerSize);
    m_window.winId();
    m_window.windowHandle()->installEventFilter(this);
}

bool OuterSizeKeeper::eventFilter(QObject*, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Expose || type == QEvent::Resize || type == QEvent::Move) {
        // A resize may come while the window manager still moves the frame; hold the size once
        // the event has been handled.
        QTimer::singleShot(0, this, &OuterSizeKeeper::holdSize);
    }
    return false;
}

void OuterSizeKeeper::holdSize()
{
    QWindow* handle = m_window.windowHandle();
    if (!handle || !handle->isExposed() || (m_window.windowState() & Qt::WindowMinimized))
        return;

    const QMargins frame = handle->frameMargins();
    const QSize client = m_outerSize.shrunkBy(frame);
    QPoint place = m_window.frameGeometry().topLeft();
    if (!m_placed) {
        m_placed = true;
        if (const QScreen* screen = m_window.screen())
            place = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, m_outerSize, screen->availableGeometry()).topLeft();
    }
    if (m_window.size() != client)
        m_window.resize(client);
    // Without moving the frame back, a window manager may leave the window where the resize
    // pushed it.
    if (m_window.frameGeometry().topLeft() != place)
        m_window.move(place);
}

} // namespace tonovka
