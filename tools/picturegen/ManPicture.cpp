// The man in a window: a round face with spiky hair and goggles, waving both hands for help.
#include "Pictures.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "OpenHand.h"
#include "OutlinedPainter.h"

namespace picturegen {

namespace {

constexpr Point kHeadCentre{37.5, 36};
constexpr double kHeadRx = 12.9;
constexpr double kHeadRy = 10.4;

void paintHair(Canvas& canvas)
{
    constexpr int kSpikes = 8;
    for (int i = 0; i < kSpikes; ++i) {
        const double angle = (-126.0 + i * 72.0 / (kSpikes - 1)) * std::numbers::pi / 180;
        const double length = i % 2 == 0 ? 6.5 : 7.5;
        const Point root{kHeadCentre.x + kHeadRx * std::cos(angle), kHeadCentre.y + kHeadRy * std::sin(angle)};
        // Each spike leans a little to the side it grows on, like hair standing on end.
        const Point tip{root.x + length * std::cos(angle) * 1.3, root.y + length * std::sin(angle)};
        canvas.line(root, tip, kBlack);
    }
}

void paintGoggles(Canvas& canvas, OutlinedPainter& painter)
{
    painter.ellipse({32, 34}, 4.45, 2.45, kCyan);
    painter.ellipse({43, 34}, 2.45, 2.45, kCyan);
    canvas.line({37, 33}, {40, 33}, kBlack); // the bridge between the rims
    canvas.fillRect({33, 34, 34, 34}, kBlack);
    canvas.set(43, 34, kBlack);
}

void paintSmile(Canvas& canvas)
{
    const std::vector<Point> smile{{33, 39}, {34, 40}, {36, 41}, {39, 41}, {41, 40}, {42, 39}};
    canvas.polyline(smile, kBlack);
}

} // namespace

Canvas drawManWindow()
{
    Canvas canvas = drawWindowFrame(72);
    OutlinedPainter painter(canvas, kWindowPane);

    Mask neck = painter.blank();
    neck.fillRect({33, 40, 36, 60}, 1);
    painter.shape(neck, kSkin);

    paintHair(canvas);
    painter.ellipse(kHeadCentre, kHeadRx, kHeadRy, kSkin);
    paintGoggles(canvas, painter);
    paintSmile(canvas);

    const OpenHand left{15, {40, 38, 38, 39}, {18.5, 45}, 4.6, 3.6, {20.5, 46}, {24, 42.5}, 18};
    const OpenHand right{51, {44, 42, 42, 43}, {54, 48}, 4.6, 3.2, {52, 49}, {48.5, 45.5}, 54.5};
    left.paint(canvas, painter);
    right.paint(canvas, painter);
    return canvas;
}

} // namespace picturegen
