#include "Pictures.h"

namespace picturegen {

Canvas drawWindowFrame(int width)
{
    Canvas canvas(width, 57, kSilver);
    canvas.fillRect(kWindowPane, kWhite);
    return canvas;
}

Canvas drawEmptyWindow()
{
    return drawWindowFrame(73);
}

} // namespace picturegen
