// Draws every picture of the game and writes the files that the program embeds:
//   picturegen <assets-dir> <icons-dir>
// writes <assets-dir>/images/*.bmp, <assets-dir>/icons/*.ico and the program icon as PNG in the
// desktop icon sizes under <icons-dir>/hicolor. The same program always writes the same bytes.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include <QImage>
#include <QString>

#include "Encoders.h"
#include "Pictures.h"

namespace fs = std::filesystem;
using namespace picturegen;

namespace {

void writeFile(const fs::path& path, const Bytes& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// Enlarged by repeating pixels (nearest neighbour), so that the small icon stays crisp on the
// desktop.
void writeDesktopIcons(const IconImage& icon, const fs::path& iconsDir)
{
    for (int size : {32, 48, 64, 128}) {
        QImage image(size, size, QImage::Format_ARGB32);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int iconX = x * IconImage::kSize / size;
                const int iconY = y * IconImage::kSize / size;
                const Rgb c = icon.colours.at(iconX, iconY);
                image.setPixel(x, y, qRgba(c.r, c.g, c.b, icon.opaque.at(iconX, iconY) != 0 ? 255 : 0));
            }
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path path = iconsDir / "hicolor" / folder / "apps" / "cz.tonovka.Tonovka.png";
        fs::create_directories(path.parent_path());
        if (!image.save(QString::fromStdString(path.string()), "PNG"))
            throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: picturegen <assets-dir> <icons-dir>\n";
        return EXIT_FAILURE;
    }
    const fs::path assets = argv[1];
    try {
        writeFile(assets / "images" / "welcome.bmp", encodeBmp(drawWelcome()));
        writeFile(assets / "images" / "roof.bmp", encodeBmp(drawRoof()));
        writeFile(assets / "images" / "window-empty.bmp", encodeBmp(drawEmptyWindow()));
        writeFile(assets / "images" / "window-man.bmp", encodeBmp(drawManWindow()));
        writeFile(assets / "images" / "window-woman.bmp", encodeBmp(drawWomanWindow()));
        const IconImage programIcon = drawProgramIcon();
        writeFile(assets / "icons" / "program.ico", encodeIco(programIcon));
        writeFile(assets / "icons" / "warning.ico", encodeIco(drawWarningIcon()));
        writeDesktopIcons(programIcon, argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "picturegen: " << e.what() << '\n';
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
