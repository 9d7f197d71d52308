#pragma once

#include <span>

#include "Grid.h"

namespace picturegen {

// Paints cartoon shapes: each one filled and edged with a one-pixel black outline, drawn over
// what is already there, and clipped to one area of the canvas.
class OutlinedPainter {
public:
    OutlinedPainter(Canvas& canvas, Rect clip) : m_canvas(canvas), m_clip(clip) {}

    void ellipse(Point centre, double rx, double ry, Rgb fill);
    void stroke(Point from, Point to, double width, Rgb fill);
    void polygon(std::span<const Point> corners, Rgb fill);
    void shape(const Mask& shape, Rgb fill);

    // An empty mask of the canvas's size, to build a shape from several pieces.
    Mask blank() const { return Mask(m_canvas.width(), m_canvas.height(), 0); }

private:
    Canvas& m_canvas;
    Rect m_clip;
};

} // namespace picturegen
