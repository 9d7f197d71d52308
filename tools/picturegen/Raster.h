#pragma once

#include <functional>
#include <span>

namespace picturegen {

// A position in pixel units; the centre of pixel (x, y) lies at exactly (x, y).
struct Point {
    double x = 0;
    double y = 0;
};

using PlotFn = std::function<void(int x, int y)>;

// Each function calls plot once for every pixel of the shape, clipping is left to the caller.
void rasterLine(Point from, Point to, const PlotFn& plot);
void rasterThickLine(Point from, Point to, double width, const PlotFn& plot);
void rasterEllipse(Point centre, double radiusX, double radiusY, const PlotFn& plot);
void rasterPolygon(std::span<const Point> corners, const PlotFn& plot);
// A smooth one-pixel stroke through many close points: it leaves out the corner pixels where
// the path turns, which would make the stroke look thicker.
void rasterCurve(std::span<const Point> points, const PlotFn& plot);

} // namespace picturegen
