// The welcome scene: a house sinking into the flood, a face at one window and someone on the
// roof waving for help.
#include "Pictures.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "OutlinedPainter.h"

namespace picturegen {

namespace {

constexpr int kWidth = 196;
constexpr int kHeight = 156;

void paintRoof(Canvas& canvas)
{
    const std::vector<Point> gable{{86, 36}, {119, 73.5}, {52, 73.5}};
    canvas.fillPolygon(gable, kRed);
    canvas.thickLine({86, 37}, {44.5, 81}, 4.2, kBlack);
    canvas.thickLine({86, 37}, {125, 81}, 4.2, kBlack);
}

void paintWall(Canvas& canvas)
{
    // The wall goes on under the water, which is painted over it last.
    canvas.fillRect({51, 74, 118, kHeight - 1}, kBlack);
    canvas.fillRect({54, 77, 115, kHeight - 1}, kPaleYellow);
}

void paintWindow(Canvas& canvas, Rect outer)
{
    canvas.fillRect(outer, kBlack);
    canvas.fillRect({outer.left + 3, outer.top + 3, outer.right - 3, outer.bottom - 3}, kWhite);
}

// A face drawn in a few black lines, its hair standing on end like the man's in the windows.
void paintFaceAtWindow(Canvas& canvas)
{
    const Point centre{75.5, 105.5};
    std::vector<Point> head;
    for (int i = 0; i <= 24; ++i) {
        const double t = i * 2 * std::numbers::pi / 24;
        head.push_back({centre.x + 4.6 * std::cos(t), centre.y + 4.1 * std::sin(t)});
    }
    canvas.polyline(head, kBlack);
    for (int i = 0; i < 5; ++i) {
        const double angle = (-135 + i * 22.5) * std::numbers::pi / 180;
        const Point root{centre.x + 4.6 * std::cos(angle), centre.y + 4.1 * std::sin(angle)};
        canvas.line(root, {root.x + 2.6 * std::cos(angle), root.y + 2.6 * std::sin(angle)}, kBlack);
    }
    canvas.set(73, 104, kBlack);
    canvas.set(78, 104, kBlack);
    canvas.line({74, 107}, {77, 107}, kBlack);
}

// Someone on the right slope near the ridge, arms out to keep their balance.
void paintFigureOnRoof(Canvas& canvas)
{
    canvas.line({100, 31}, {100, 40}, kBlack);
    canvas.line({95, 34}, {105, 34}, kBlack);
    canvas.line({100, 40}, {97, 44}, kBlack);
    canvas.line({100, 40}, {102, 49}, kBlack);
    OutlinedPainter painter(canvas, canvas.bounds());
    painter.ellipse({100, 27.5}, 3.45, 3.45, kWhite);
    // Brown hair around the top and the sides of the face.
    Mask hair(canvas.width(), canvas.height(), 0);
    hair.fillEllipse({100, 26.5}, 4.5, 4, 1);
    hair.fillEllipse({100, 29}, 2.6, 2.6, 0);
    hair.fillRect({0, 30, canvas.width() - 1, canvas.height() - 1}, 0);
    for (int y = 20; y < 30; ++y)
        for (int x = 95; x <= 105; ++x)
            if (hair.at(x, y) != 0)
                canvas.set(x, y, kBrown);
}

// The flood, lowest under the house, where it has pushed the ground down the most.
double waterline(int x)
{
    constexpr double kUnderHouse = 85;
    double level = 0;
    if (x <= kUnderHouse)
        level = 113 + 5 * std::pow(std::sin(std::numbers::pi / 2 * x / kUnderHouse), 2);
    else
        level = 118 - 4 * std::pow(std::sin(std::numbers::pi / 2 * (x - kUnderHouse) / (kWidth - 1 - kUnderHouse)), 2);
    // Small round waves on top.
    return level - 2 * std::abs(std::sin(x * std::numbers::pi / 14));
}

void paintWater(Canvas& canvas)
{
    std::vector<Point> surface;
    for (int x = 0; x < kWidth; ++x) {
        const int top = static_cast<int>(std::lround(waterline(x)));
        canvas.fillRect({x, top, x, kHeight - 1}, kWater);
        surface.push_back({double(x), double(top)});
    }
    canvas.polyline(surface, kBlack);
}

} // namespace

Canvas drawWelcome()
{
    Canvas canvas(kWidth, kHeight, kWhite);
    paintWall(canvas);
    paintRoof(canvas);
    paintWindow(canvas, {64, 94, 87, 113});
    paintFaceAtWindow(canvas);
    paintWindow(canvas, {95, 95, 110, 113});
    paintFigureOnRoof(canvas);
    paintWater(canvas);
    return canvas;
}

} // namespace picturegen
