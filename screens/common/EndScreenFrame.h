#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QWindow;

namespace tonovka {

class AppShell;

// The frame of the two screens that close a game: a fixed tool window with a small title bar
// and a close box, no icon and no task-bar entry, kept above the main window. Closing it ends
// the program.
class EndScreenFrame : public QWidget {
public:
    EndScreenFrame(AppShell& shell, const QString& name, const QString& caption, QSize clientSize);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    AppShell& m_shell;

private:
    static constexpr qint64 kTakeBackMs = 1000;

    void takeBackTheKeyboard(QWindow* focused);

    QElapsedTimer m_sinceUnblocked; // since a modal box that kept the keyboard closed
};

} // namespace tonovka
