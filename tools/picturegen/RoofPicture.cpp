// The roof of the house: a red gable across the whole width, a chimney on its left slope and
// smoke curling away from it.
#include "Pictures.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace picturegen {

namespace {

constexpr int kWidth = 461;
constexpr int kHeight = 118;
constexpr int kApex = 230;

// The first row of the roof in column x: each slope falls one row for every two columns.
int slopeTop(int x)
{
    return std::abs(x - kApex) / 2;
}

void paintChimney(Canvas& canvas)
{
    constexpr int left = 73;
    constexpr int right = 90;
    constexpr int top = 39;
    for (int x = left; x <= right; ++x) {
        const bool side = x == left || x == right;
        canvas.set(x, top, kBlack);
        for (int y = top + 1; y < slopeTop(x); ++y)
            canvas.set(x, y, side ? kBlack : kSilver);
    }
}

// A curl of smoke: loops strung along a line that rises up and to the left, widening as they go.
void paintSmoke(Canvas& canvas, Point from, Point to, double phase)
{
    constexpr int kSteps = 400;
    constexpr double kLoops = 3.5;
    std::vector<Point> points;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = double(i) / kSteps;
        const double angle = phase + 2 * std::numbers::pi * kLoops * t;
        const double radius = 1.5 + 4.5 * t;
        points.push_back({from.x + (to.x - from.x) * t + radius * std::cos(angle),
                          from.y + (to.y - from.y) * t - radius * std::sin(angle) * 0.8});
    }
    canvas.curve(points, kGrey);
}

} // namespace

Canvas drawRoof()
{
    Canvas canvas(kWidth, kHeight, kWhite);
    paintChimney(canvas);
    for (int x = 0; x < kWidth; ++x) {
        const int top = slopeTop(x);
        canvas.fillRect({x, top, x, top + 1}, kBlack);
        canvas.fillRect({x, top + 2, x, kHeight - 2}, kRed);
    }
    canvas.fillRect({0, kHeight - 1, kWidth - 1, kHeight - 1}, kBlack);
    paintSmoke(canvas, {80, 33}, {44, 11}, 0);
    return canvas;
}

} // namespace picturegen
