#pragma once

// How many of the screen's device pixels one of the game's pixels takes where the game must fit
// a page of pageWidth x pageHeight CSS pixels, devicePixelRatio device pixels to each (a phone
// upright, a laptop zoomed to 200 %), a game of gameWidth x gameHeight pixels: as many as the
// browser gives a CSS pixel, where the game fits that way (one on a plain desktop, two on a
// screen of twice the pixels); else the most whole device pixels with which it fits, so that its
// pictures stay sharp; else, on a page smaller than the game at one device pixel, what just fits.
// The page has some size: an empty one holds no game at any scale.
namespace tonovka::platform {

double gameScale(double pageWidth, double pageHeight, double devicePixelRatio, int gameWidth, int gameHeight);

} // namespace tonovka::platform
