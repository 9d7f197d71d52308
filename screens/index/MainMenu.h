#pragma once

class QAction;
class QMenuBar;

namespace tonovka {

// The main window's menu: "&Hra" with new game and end, then the menu-bar items that act at
// once: continue (hidden at start), pause and help.
struct MainMenu {
    explicit MainMenu(QMenuBar& bar);

    // Shows one or both of "&Pauza" and "&Pokračovat". Both use P as their access key, so an
    // item is taken off the bar while hidden: a hidden item would still answer to Alt+P.
    void showPauseAndContinue(bool pauseShown, bool continueShown);

    QMenuBar& bar;

    QAction* mmuHRAitem;
    QAction* mnuNEWitem;
    QAction* mnuKONECitem;
    QAction* mnuCONTINUEitem;
    QAction* mnuPAUSEitem;
    QAction* mnuHELPitem;
};

} // namespace tonovka
