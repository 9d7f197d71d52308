#pragma once

#include <cstdint>
#include <vector>

#include "Grid.h"

namespace picturegen {

using Bytes = std::vector<std::uint8_t>;

// A 32 x 32 icon: its colours, each one of kIconPalette, and which pixels are opaque.
struct IconImage {
    static constexpr int kSize = 32;

    Canvas colours{kSize, kSize, kBlack};
    Mask opaque{kSize, kSize, 0};

    // Paints the pixels of shape in colour and makes them opaque.
    void paint(const Mask& shape, Rgb colour);
};

// A 24-bit uncompressed BMP: 14-byte file header, 40-byte information header, rows bottom-up.
Bytes encodeBmp(const Canvas& canvas);

// An ICO file with the one 4-bit image: information header, palette, colour data and AND mask.
// Throws std::invalid_argument for a colour outside the palette.
Bytes encodeIco(const IconImage& icon);

} // namespace picturegen
