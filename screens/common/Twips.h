#pragma once

#include <QRect>

namespace tonovka {

// Screen layouts are written in twips, 1/1440 inch: 15 twips to the pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;

constexpr int pixels(int twips)
{
    return twips / kTwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

} // namespace tonovka
