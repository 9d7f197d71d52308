#include "EndScreenFrame.h"

#include "AppShell.h"
#include "Platform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPixmap>
#include <QTimer>
#include <QWindow>

namespace tonovka {

EndScreenFrame::EndScreenFrame(AppShell& shell, const QString& name, const QString& caption, QSize clientSize)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_shell(shell)
{
    setObjectName(name);
    setWindowTitle(caption);
    // A transparent icon, so that the window shows none rather than the program's.
    QPixmap none(16, 16);
    none.fill(Qt::transparent);
    setWindowIcon(QIcon(none));
    setFixedSize(clientSize);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &EndScreenFrame::takeBackTheKeyboard);
}

void EndScreenFrame::showEvent(QShowEvent* event)
{
    platform::keepOutOfTaskbar(*this);
    // A window that belongs to the main window stays above it, even when it opens while a
    // modal box of the main window has the keyboard.
    if (Screen* main = m_shell.screen(ScreenId::index); main && main->window().windowHandle())
        windowHandle()->setTransientParent(main->window().windowHandle());
    // A drop-down menu open at the end of a game would keep the keyboard from this screen;
    // the menu belongs to a game that is over.
    for (int open = 0; open < 4 && QApplication::activePopupWidget(); ++open)
        QApplication::activePopupWidget()->close();
    // A modal box stays on top until it is closed, also where the window manager would put
    // the newer window above it.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this)
        QTimer::singleShot(0, modal, [modal] { modal->raise(); });
    QWidget::showEvent(event);
}

bool EndScreenFrame::event(QEvent* event)
{
    // Opened while a modal box was open, this screen could not take the keyboard; it takes it
    // once the box has gone.
    if (event->type() == QEvent::WindowUnblocked && isVisible()) {
        raise();
        activateWindow();
        m_sinceUnblocked.start();
    }
    return QWidget::event(event);
}

void EndScreenFrame::takeBackTheKeyboard(QWindow* focused)
{
    // A window manager may hand the keyboard to the closed box's parent after this screen
    // asked for it; it is taken back once.
    if (!m_sinceUnblocked.isValid() || m_sinceUnblocked.hasExpired(kTakeBackMs) || !isVisible() ||
        focused == windowHandle() || !focused)
        return;
    m_sinceUnblocked.invalidate();
    raise();
    activateWindow();
}

void EndScreenFrame::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_shell.endProgram();
}

} // namespace tonovka
