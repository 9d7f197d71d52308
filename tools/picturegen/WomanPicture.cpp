// The woman in a window: a round face in a mass of wild hair, both hands raised to her cheeks.
#include "Pictures.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "OpenHand.h"
#include "OutlinedPainter.h"

namespace picturegen {

namespace {

constexpr Point kFaceCentre{35, 33};
constexpr double kFaceRx = 16.45;
constexpr double kFaceRy = 11.45;
constexpr Rect kHairBounds{9, 17, 62, 40};

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

// Curls around the rim of the hair: round bumps on its outline, each with a small hook drawn
// inside it, like a quick scribble.
std::vector<Point> curlCentres()
{
    std::vector<Point> centres;
    for (double degrees = 180; degrees <= 360; degrees += 20)
        centres.push_back({35.5 + 21.5 * std::cos(radians(degrees)), 30 + 10 * std::sin(radians(degrees))});
    for (double y = 33; y <= 38; y += 5) {
        centres.push_back({13, y});
        centres.push_back({58.5, y});
    }
    return centres;
}

void paintHair(Canvas& canvas, OutlinedPainter& painter)
{
    const std::vector<Point> curls = curlCentres();
    Mask hair = painter.blank();
    hair.fillEllipse({35.5, 31}, 21.5, 10, 1);
    for (const Point& c : curls)
        hair.fillEllipse(c, 3.6, 3.6, 1);
    for (int y = 0; y < hair.height(); ++y)
        for (int x = 0; x < hair.width(); ++x)
            if (!kHairBounds.contains(x, y))
                hair.set(x, y, 0);
    painter.shape(hair, kBrown);

    for (const Point& c : curls) {
        std::vector<Point> hook;
        for (double degrees = 150; degrees <= 390; degrees += 30)
            hook.push_back({c.x + 1.6 * std::cos(radians(degrees)), c.y + 0.5 + 1.4 * std::sin(radians(degrees))});
        canvas.polyline(hook, kBlack);
    }
}

} // namespace

Canvas drawWomanWindow()
{
    Canvas canvas = drawWindowFrame(72);
    OutlinedPainter painter(canvas, kWindowPane);

    paintHair(canvas, painter);
    Mask neck = painter.blank();
    neck.fillRect({30, 40, 35, 60}, 1);
    painter.shape(neck, kSkin);
    painter.ellipse(kFaceCentre, kFaceRx, kFaceRy, kSkin);

    painter.ellipse({28.5, 30}, 5.95, 3.45, kCyan);
    painter.ellipse({43, 29.5}, 4.45, 3.95, kCyan);
    canvas.fillRect({29, 30, 30, 31}, kBlack);
    canvas.fillRect({43, 29, 44, 30}, kBlack);
    canvas.line({31, 38}, {39, 38}, kBlack);

    const OpenHand left{11, {40, 38, 37, 38}, {14, 44.5}, 5, 3.8, {17, 45}, {20, 41.5}, 13};
    const OpenHand right{53, {38, 37, 38, 40}, {56.5, 44.5}, 5, 3.8, {53.5, 45}, {49.5, 41.5}, 57.5};
    left.paint(canvas, painter);
    right.paint(canvas, painter);
    return canvas;
}

} // namespace picturegen
