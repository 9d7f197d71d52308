// The two 32 x 32 icons: the program's man-and-woman sign and the warning triangle.
#include "Pictures.h"

#include <vector>

namespace picturegen {

namespace {

Mask blankIconMask()
{
    return Mask(IconImage::kSize, IconImage::kSize, 0);
}

// The man of the sign, standing in columns 0 to 14.
void drawMan(Mask& mask)
{
    mask.fillEllipse({7, 3.5}, 3.2, 3.2, 1);
    const std::vector<Point> body{{3.5, 9}, {10.5, 9}, {12, 10.5}, {12, 19}, {10, 19},
                                  {10, 30}, {4, 30},   {4, 19},    {2, 19},  {2, 10.5}};
    mask.fillPolygon(body, 1);
    // Arms and legs parted from the body by thin gaps.
    mask.fillRect({3, 12, 3, 19}, 0);
    mask.fillRect({11, 12, 11, 19}, 0);
    mask.fillRect({7, 21, 7, 30}, 0);
}

// The woman of the sign, in a skirt, standing in columns 16 to 31.
void drawWoman(Mask& mask)
{
    mask.fillEllipse({24, 3.5}, 3.2, 3.2, 1);
    const std::vector<Point> dress{{20.5, 9}, {27.5, 9}, {29, 10.5}, {29, 18}, {27, 18},
                                   {30, 24},  {18, 24},  {21, 18},   {19, 18}, {19, 10.5}};
    mask.fillPolygon(dress, 1);
    mask.fillRect({20, 12, 20, 18}, 0);
    mask.fillRect({28, 12, 28, 18}, 0);
    mask.fillRect({21, 25, 22, 30}, 1);
    mask.fillRect({26, 25, 27, 30}, 1);
}

} // namespace

IconImage drawProgramIcon()
{
    IconImage icon;
    Mask sign = blankIconMask();
    drawMan(sign);
    sign.fillRect({15, 0, 15, IconImage::kSize - 1}, 1);
    drawWoman(sign);
    icon.paint(sign, kBlack);
    return icon;
}

IconImage drawWarningIcon()
{
    IconImage icon;
    Mask triangle = blankIconMask();
    for (int y = 5; y <= 26; ++y) {
        const int spread = (std::min(y, 25) - 5) / 2;
        triangle.fillRect({15 - spread, y, 16 + spread, y}, 1);
    }
    icon.paint(triangle, kRed);

    Mask mark = blankIconMask();
    mark.fillRect({14, 12, 17, 16}, 1);
    mark.fillRect({15, 17, 16, 20}, 1);
    mark.fillRect({15, 23, 16, 24}, 1);
    icon.paint(mark, kWhite);
    return icon;
}

} // namespace picturegen
