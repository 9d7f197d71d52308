#pragma once

#include <array>

#include "OutlinedPainter.h"

namespace picturegen {

// A hand raised with the palm to the viewer: four fingers side by side, two columns apart so that
// they share their outlines, a thumb, and the forearm running down out of the picture.
struct OpenHand {
    int firstFinger = 0;       // column of the leftmost finger
    std::array<int, 4> tips{}; // top row of each finger's skin, left to right
    Point palm;
    double palmRx = 0;
    double palmRy = 0;
    Point thumbRoot;
    Point thumbTip;
    double armBottomX = 0; // where the forearm leaves the bottom of the picture

    void paint(Canvas& canvas, OutlinedPainter& painter) const;
};

} // namespace picturegen
