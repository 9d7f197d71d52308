#include "Encoders.h"

#include <algorithm>
#include <stdexcept>

namespace picturegen {

namespace {

constexpr std::uint32_t kPixelsPerMetre = 3780; // 96 dots per inch
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void putU16(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putU32(Bytes& out, std::uint32_t value)
{
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void putInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize,
                   std::uint32_t pixelsPerMetre)
{
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1); // planes
    putU16(out, static_cast<std::uint32_t>(bitsPerPixel));
    putU32(out, 0); // no compression
    putU32(out, imageSize);
    putU32(out, pixelsPerMetre);
    putU32(out, pixelsPerMetre);
    putU32(out, 0); // colours used: all that the bit depth allows
    putU32(out, 0); // important colours: all
}

// Rows of a bitmap are padded to a whole number of 32-bit words.
std::uint32_t rowSize(int width, int bitsPerPixel)
{
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

std::uint8_t paletteIndex(Rgb colour)
{
    const auto found = std::find(kIconPalette.begin(), kIconPalette.end(), colour);
    if (found == kIconPalette.end())
        throw std::invalid_argument("icon colour outside the 16-colour palette");
    return static_cast<std::uint8_t>(found - kIconPalette.begin());
}

} // namespace

void IconImage::paint(const Mask& shape, Rgb colour)
{
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (shape.at(x, y) != 0) {
                colours.set(x, y, colour);
                opaque.set(x, y, 1);
            }
}

Bytes encodeBmp(const Canvas& canvas)
{
    const std::uint32_t stride = rowSize(canvas.width(), 24);
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(canvas.height());
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    Bytes out;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    putU32(out, offset + imageSize);
    putU32(out, 0); // reserved
    putU32(out, offset);
    putInfoHeader(out, canvas.width(), canvas.height(), 24, imageSize, kPixelsPerMetre);
    for (int y = canvas.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgb c = canvas.at(x, y);
            out.insert(out.end(), {c.b, c.g, c.r});
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

Bytes encodeIco(const IconImage& icon)
{
    constexpr int size = IconImage::kSize;
    constexpr std::uint32_t directorySize = 6 + 16;
    const std::uint32_t colourStride = rowSize(size, 4);
    const std::uint32_t maskStride = rowSize(size, 1);
    const std::uint32_t pixelBytes = (colourStride + maskStride) * size;
    const std::uint32_t imageBytes = kInfoHeaderSize + 4 * kIconPalette.size() + pixelBytes;

    Bytes out;
    putU16(out, 0); // reserved
    putU16(out, 1); // type: icon
    putU16(out, 1); // one image
    out.insert(out.end(), {std::uint8_t(size), std::uint8_t(size), std::uint8_t(kIconPalette.size()), 0});
    putU16(out, 1); // planes
    putU16(out, 4); // bits per pixel
    putU32(out, imageBytes);
    putU32(out, directorySize);

    // The height counts the colour rows and the mask rows together.
    putInfoHeader(out, size, 2 * size, 4, pixelBytes, 0);
    for (const Rgb& c : kIconPalette)
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; x += 2) {
            // Transparent pixels carry colour 0, black, as the AND mask expects.
            const auto colourAt = [&](int column) {
                return icon.opaque.at(column, y) != 0 ? paletteIndex(icon.colours.at(column, y)) : std::uint8_t(0);
            };
            out.push_back(static_cast<std::uint8_t>(colourAt(x) << 4 | colourAt(x + 1)));
        }
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; x += 8) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (icon.opaque.at(x + bit, y) == 0)
                    bits |= static_cast<std::uint8_t>(0x80 >> bit);
            out.push_back(bits);
        }
    return out;
}

} // namespace picturegen
