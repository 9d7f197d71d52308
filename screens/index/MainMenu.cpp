#include "MainMenu.h"

#include "NamedFont.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tonovka {

namespace {

QAction* named(QAction* action, const char* name)
{
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

MainMenu::MainMenu(QMenuBar& menuBar) : bar(menuBar)
{
    // The house is laid out below a menu bar inside the window; a desktop's global menu would
    // take it out.
    bar.setNativeMenuBar(false);
    // The house lies below the bar, so the bar is as high whatever the desktop's own font.
    bar.setFont(namedFont(QStringLiteral("MS Sans Serif"), 9));
    QMenu* game = bar.addMenu(QStringLiteral("&Hra"));
    mmuHRAitem = named(game->menuAction(), "mmuHRAitem");
    mnuNEWitem = named(game->addAction(QStringLiteral("&Nová hra")), "mnuNEWitem");
    mnuNEWitem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuKONECitem = named(game->addAction(QStringLiteral("&Konec")), "mnuKONECitem");
    mnuKONECitem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuCONTINUEitem = named(bar.addAction(QStringLiteral("&Pokračovat")), "mnuCONTINUEitem");
    mnuPAUSEitem = named(bar.addAction(QStringLiteral("&Pauza")), "mnuPAUSEitem");
    mnuHELPitem = named(bar.addAction(QStringLiteral("Nápověda")), "mnuHELPitem");
    showPauseAndContinue(true, false);
}

void MainMenu::showPauseAndContinue(bool pauseShown, bool continueShown)
{
    // Continue stands before pause, and both before help.
    const auto place = [this](QAction* item, bool shown, QAction* before) {
        item->setVisible(shown);
        const bool onBar = bar.actions().contains(item);
        if (shown && !onBar)
            bar.insertAction(before, item);
        else if (!shown && onBar)
            bar.removeAction(item);
    };
    place(mnuPAUSEitem, pauseShown, mnuHELPitem);
    place(mnuCONTINUEitem, continueShown, pauseShown ? mnuPAUSEitem : mnuHELPitem);
}

} // namespace tonovka
