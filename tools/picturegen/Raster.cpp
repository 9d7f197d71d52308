#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace picturegen {

namespace {

int roundToPixel(double v)
{
    return static_cast<int>(std::lround(v));
}

double distanceToSegment(Point p, Point a, Point b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0)
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

} // namespace

// Bresenham: a one-pixel stroke, 8-connected, that includes both ends.
void rasterLine(Point from, Point to, const PlotFn& plot)
{
    int x = roundToPixel(from.x);
    int y = roundToPixel(from.y);
    const int x1 = roundToPixel(to.x);
    const int y1 = roundToPixel(to.y);
    const int dx = std::abs(x1 - x);
    const int dy = -std::abs(y1 - y);
    const int stepX = x < x1 ? 1 : -1;
    const int stepY = y < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        plot(x, y);
        if (x == x1 && y == y1)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

// Every pixel whose centre lies within width / 2 of the segment: a stroke with round caps.
void rasterThickLine(Point from, Point to, double width, const PlotFn& plot)
{
    const double half = width / 2;
    const int left = static_cast<int>(std::floor(std::min(from.x, to.x) - half));
    const int right = static_cast<int>(std::ceil(std::max(from.x, to.x) + half));
    const int top = static_cast<int>(std::floor(std::min(from.y, to.y) - half));
    const int bottom = static_cast<int>(std::ceil(std::max(from.y, to.y) + half));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (distanceToSegment({double(x), double(y)}, from, to) <= half)
                plot(x, y);
}

void rasterEllipse(Point centre, double radiusX, double radiusY, const PlotFn& plot)
{
    const int top = static_cast<int>(std::ceil(centre.y - radiusY));
    const int bottom = static_cast<int>(std::floor(centre.y + radiusY));
    for (int y = top; y <= bottom; ++y) {
        const double dy = (y - centre.y) / radiusY;
        const double halfWidth = radiusX * std::sqrt(std::max(0.0, 1 - dy * dy));
        const int left = static_cast<int>(std::ceil(centre.x - halfWidth));
        const int right = static_cast<int>(std::floor(centre.x + halfWidth));
        for (int x = left; x <= right; ++x)
            plot(x, y);
    }
}

// Scanlines through the pixel centres with the even-odd rule.
void rasterPolygon(std::span<const Point> corners, const PlotFn& plot)
{
    if (corners.size() < 3)
        return;
    double minY = corners[0].y;
    double maxY = corners[0].y;
    for (const Point& p : corners) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    std::vector<double> crossings;
    for (int y = static_cast<int>(std::ceil(minY)); y <= static_cast<int>(std::floor(maxY)); ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Point a = corners[i];
            const Point b = corners[(i + 1) % corners.size()];
            // Half-open in y so that a corner on the scanline counts once.
            if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y))
                crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
            for (int x = static_cast<int>(std::ceil(crossings[i])); x <= static_cast<int>(std::floor(crossings[i + 1]));
                 ++x)
                plot(x, y);
    }
}

void rasterCurve(std::span<const Point> points, const PlotFn& plot)
{
    struct Pixel {
        int x;
        int y;
        bool operator==(const Pixel&) const = default;
    };
    std::vector<Pixel> path;
    for (std::size_t i = 1; i < points.size(); ++i)
        rasterLine(points[i - 1], points[i], [&path](int x, int y) {
            if (path.empty() || !(path.back() == Pixel{x, y}))
                path.push_back({x, y});
        });
    std::vector<Pixel> thin;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (!thin.empty() && i + 1 < path.size()) {
            const Pixel before = thin.back();
            const Pixel after = path[i + 1];
            if (std::abs(before.x - after.x) == 1 && std::abs(before.y - after.y) == 1)
                continue; // before and after touch diagonally: this pixel is a corner
        }
        thin.push_back(path[i]);
    }
    for (const Pixel& p : thin)
        plot(p.x, p.y);
}

} // namespace picturegen
