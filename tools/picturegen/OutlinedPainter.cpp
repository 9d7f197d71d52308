#include "OutlinedPainter.h"

namespace picturegen {

void OutlinedPainter::ellipse(Point centre, double rx, double ry, Rgb fill)
{
    Mask mask = blank();
    mask.fillEllipse(centre, rx, ry, 1);
    shape(mask, fill);
}

void OutlinedPainter::stroke(Point from, Point to, double width, Rgb fill)
{
    Mask mask = blank();
    mask.thickLine(from, to, width, 1);
    shape(mask, fill);
}

void OutlinedPainter::polygon(std::span<const Point> corners, Rgb fill)
{
    Mask mask = blank();
    mask.fillPolygon(corners, 1);
    shape(mask, fill);
}

void OutlinedPainter::shape(const Mask& shape, Rgb fill)
{
    paintOutlined(m_canvas, shape, fill, kBlack, m_clip);
}

} // namespace picturegen
