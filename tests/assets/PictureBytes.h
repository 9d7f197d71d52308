#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QString>

// Reads the picture files byte by byte, as their formats lay them out, independently of the
// image readers of Qt.
namespace picturebytes {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline std::uint32_t u16(const QByteArray& bytes, int at)
{
    return static_cast<std::uint8_t>(bytes.at(at)) | static_cast<std::uint8_t>(bytes.at(at + 1)) << 8;
}

inline std::uint32_t u32(const QByteArray& bytes, int at)
{
    return u16(bytes, at) | u16(bytes, at + 2) << 16;
}

inline int i32(const QByteArray& bytes, int at)
{
    return static_cast<std::int32_t>(u32(bytes, at));
}

inline std::uint8_t u8(const QByteArray& bytes, int at)
{
    return static_cast<std::uint8_t>(bytes.at(at));
}

// A pixel of a 24-bit bottom-up BMP, counted from the top-left as the pictures are described.
inline QColor bmpPixel(const QByteArray& bytes, int x, int y)
{
    const int width = i32(bytes, 18);
    const int height = i32(bytes, 22);
    const int stride = (width * 3 + 3) / 4 * 4;
    const int at = static_cast<int>(u32(bytes, 10)) + (height - 1 - y) * stride + x * 3;
    return QColor(u8(bytes, at + 2), u8(bytes, at + 1), u8(bytes, at));
}

// The layout of a one-image 32 x 32 4-bit ICO file.
constexpr int kIconImage = 22;
constexpr int kIconPalette = kIconImage + 40;
constexpr int kIconColours = kIconPalette + 16 * 4;
constexpr int kIconMask = kIconColours + 32 * 16;

inline QColor iconPaletteColour(const QByteArray& bytes, int index)
{
    const int at = kIconPalette + 4 * index;
    return QColor(u8(bytes, at + 2), u8(bytes, at + 1), u8(bytes, at));
}

// The colour of an icon pixel from the top-left, or nothing where the mask makes it transparent.
inline std::optional<QColor> iconPixel(const QByteArray& bytes, int x, int y)
{
    const int row = 31 - y;
    const bool transparent = (u8(bytes, kIconMask + row * 4 + x / 8) & (0x80 >> (x % 8))) != 0;
    if (transparent)
        return std::nullopt;
    const std::uint8_t pair = u8(bytes, kIconColours + row * 16 + x / 2);
    return iconPaletteColour(bytes, x % 2 == 0 ? pair >> 4 : pair & 0x0F);
}

// The palette index under a transparent pixel, which the mask expects to be black.
inline int iconIndexUnder(const QByteArray& bytes, int x, int y)
{
    const std::uint8_t pair = u8(bytes, kIconColours + (31 - y) * 16 + x / 2);
    return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

} // namespace picturebytes
