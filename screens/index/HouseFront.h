#pragma once

#include <array>

class QLabel;
class QWidget;

namespace tonovka {

class FilledShape;
class PictureBox;
class PictureSet;

// The controls of the main window's client area: the roof, the fifteen windows, the score and
// the time, the water, and the hidden holders of the three window pictures and the cursors.
struct HouseFront {
    HouseFront(QWidget& client, const PictureSet& pictures);

    FilledShape* voda;
    PictureBox* okno;
    PictureBox* zenaIMG;
    PictureBox* chlapIMG;
    QLabel* timecountLBL;
    QLabel* timeLBL;
    QLabel* scorecountLBL;
    QLabel* scoreLBL;
    QLabel* zenaLBL;
    QLabel* chlapLBL;
    std::array<FilledShape*, 2> Shape1;
    std::array<PictureBox*, 15> windows; // okno1 to okno15
    PictureBox* strecha;
};

} // namespace tonovka
