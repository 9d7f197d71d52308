#pragma once

#include "Encoders.h"
#include "Grid.h"

namespace picturegen {

// The white pane of every window picture; the frame around it is silver.
inline constexpr Rect kWindowPane{6, 5, 66, 51};

// A window picture of the given width with nothing in its pane: 73 for the empty window, 72 for
// a window with a person, whose right frame strip is one column narrower.
Canvas drawWindowFrame(int width);

Canvas drawEmptyWindow();
Canvas drawManWindow();
Canvas drawWomanWindow();
Canvas drawRoof();
Canvas drawWelcome();
IconImage drawProgramIcon();
IconImage drawWarningIcon();

} // namespace picturegen
