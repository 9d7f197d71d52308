#include "OpenHand.h"

#include <algorithm>

namespace picturegen {

void OpenHand::paint(Canvas& canvas, OutlinedPainter& painter) const
{
    Mask hand = painter.blank();
    for (std::size_t i = 0; i < tips.size(); ++i) {
        const double x = firstFinger + 2.0 * static_cast<double>(i);
        hand.thickLine({x, double(tips[i])}, {x, palm.y}, 3, 1);
    }
    hand.fillEllipse(palm, palmRx, palmRy, 1);
    hand.thickLine(thumbRoot, thumbTip, 3, 1);
    hand.thickLine(palm, {armBottomX, double(canvas.height() + 4)}, 5.4, 1);
    painter.shape(hand, kSkin);

    // The fingers merge into one block in the mask; lines between them part them again.
    const int palmTop = static_cast<int>(palm.y - palmRy) + 1;
    for (std::size_t i = 0; i + 1 < tips.size(); ++i) {
        const int x = firstFinger + 2 * static_cast<int>(i) + 1;
        const int top = std::max(tips[i], tips[i + 1]);
        canvas.line({double(x), double(top)}, {double(x), double(palmTop)}, kBlack);
    }
}

} // namespace picturegen
