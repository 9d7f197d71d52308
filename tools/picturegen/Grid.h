#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Colours.h"
#include "Raster.h"

namespace picturegen {

// A rectangle of pixels, ends inclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// A width x height grid of cells with the drawing operations of the generator. Drawing outside
// the grid is silently clipped.
template <typename T> class Grid {
public:
    Grid(int width, int height, T value)
        : m_width(width), m_height(height), m_cells(static_cast<std::size_t>(width * height), value)
    {
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    Rect bounds() const { return {0, 0, m_width - 1, m_height - 1}; }
    T at(int x, int y) const { return m_cells[index(x, y)]; }

    void set(int x, int y, T value)
    {
        if (bounds().contains(x, y))
            m_cells[index(x, y)] = value;
    }

    void fillRect(Rect r, T value)
    {
        for (int y = r.top; y <= r.bottom; ++y)
            for (int x = r.left; x <= r.right; ++x)
                set(x, y, value);
    }

    void line(Point from, Point to, T value) { rasterLine(from, to, plotter(value)); }
    void thickLine(Point from, Point to, double width, T value) { rasterThickLine(from, to, width, plotter(value)); }
    void fillEllipse(Point centre, double rx, double ry, T value) { rasterEllipse(centre, rx, ry, plotter(value)); }
    void fillPolygon(std::span<const Point> corners, T value) { rasterPolygon(corners, plotter(value)); }

    void curve(std::span<const Point> points, T value) { rasterCurve(points, plotter(value)); }

    void polyline(std::span<const Point> points, T value)
    {
        for (std::size_t i = 1; i < points.size(); ++i)
            line(points[i - 1], points[i], value);
    }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * m_width + x); }
    PlotFn plotter(T value)
    {
        return [this, value](int x, int y) { set(x, y, value); };
    }

    int m_width;
    int m_height;
    std::vector<T> m_cells;
};

using Canvas = Grid<Rgb>;
// 1 marks the pixels of a shape.
using Mask = Grid<std::uint8_t>;

// Paints a shape within clip: its edge pixels (those with a side neighbour outside the shape) in
// outline, the rest in fill. Cells outside the mask count as outside the shape, so a shape that
// should run off an edge without an outline is made to reach past that edge in the mask.
inline void paintOutlined(Canvas& canvas, const Mask& shape, Rgb fill, Rgb outline, Rect clip)
{
    const auto inside = [&shape](int x, int y) { return shape.bounds().contains(x, y) && shape.at(x, y) != 0; };
    for (int y = clip.top; y <= clip.bottom; ++y)
        for (int x = clip.left; x <= clip.right; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            canvas.set(x, y, edge ? outline : fill);
        }
}

} // namespace picturegen
