#include "EndScreenFrame.h"

#include "AppShell.h"
#include "TaskbarHiding.h"

#include <QCloseEvent>
#include <QPixmap>

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
}

void EndScreenFrame::showEvent(QShowEvent* event)
{
    keepOutOfTaskbar(*this);
    QWidget::showEvent(event);
}

void EndScreenFrame::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_shell.endProgram();
}

} // namespace tonovka
