// Small measurements for the desktop test script: levels of the raw sound that SDL's disk driver
// wrote, and pixels of screenshots. Each command prints one line and exits with 0, or prints a
// reason on stderr and exits with 2.
//
//   level   RAW FROM TO               peak, RMS and the quietest half second of bytes FROM..TO
//   pixel   PNG X Y                   "R G B" of one pixel
//   count   PNG X Y W H R G B         how many pixels of the area have exactly that colour
//   differ  PNG PNG X Y W H           how many pixels of the area differ between two shots
//   cells   PNG PNG X Y W H DX DY COLUMNS ROWS
//                                     "differ" for each cell of a grid of W x H cells whose
//                                     corners lie DX and DY apart, row by row, on one line
//   first   PNG X Y0 Y1 R G B         the first row from Y0 to Y1 whose pixel in column X has
//                                     that colour, or -1
//
// The raw sound is what the program opens its device with: signed 16-bit samples in the
// machine's byte order, two interleaved channels, 44100 frames a second.

#include <QColor>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int FramesPerSecond = 44100;
constexpr int Channels = 2;
constexpr long long BytesPerFrame = Channels * 2;

[[noreturn]] void fail(const std::string& reason)
{
    std::fprintf(stderr, "e2eprobe: %s\n", reason.c_str());
    std::exit(2);
}

long long number(const char* text)
{
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0')
        fail(std::string("not a whole number: ") + text);
    return value;
}

QImage image(const char* path)
{
    QImage shot(QString::fromLocal8Bit(path));
    if (shot.isNull())
        fail(std::string("cannot read the picture ") + path);
    return shot.convertToFormat(QImage::Format_RGB32);
}

QRect area(const QImage& shot, char** at)
{
    const QRect wanted(int(number(at[0])), int(number(at[1])), int(number(at[2])), int(number(at[3])));
    if (!shot.rect().contains(wanted))
        fail("the area lies outside the picture");
    return wanted;
}

QRgb colour(char** at)
{
    return qRgb(int(number(at[0])), int(number(at[1])), int(number(at[2])));
}

int level(char** at)
{
    std::ifstream raw(at[0], std::ios::binary);
    if (!raw)
        fail(std::string("cannot read the sound ") + at[0]);
    // Whole frames only, so that the channels stay in step.
    const long long from = number(at[1]) / BytesPerFrame * BytesPerFrame;
    const long long to = number(at[2]) / BytesPerFrame * BytesPerFrame;
    if (to <= from)
        fail("the stretch of sound is empty");
    std::vector<std::int16_t> samples(static_cast<std::size_t>((to - from) / 2));
    raw.seekg(from);
    raw.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(to - from));
    if (raw.gcount() != to - from)
        fail("the sound is shorter than the stretch asked for");

    constexpr std::size_t BlockSamples = FramesPerSecond / 2 * Channels;
    int peak = 0;
    double sum = 0.0;
    double blockSum = 0.0;
    double quietestBlock = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double value = samples[i];
        peak = std::max(peak, std::abs(int(samples[i])));
        sum += value * value;
        blockSum += value * value;
        if ((i + 1) % BlockSamples == 0) {
            quietestBlock = std::min(quietestBlock, std::sqrt(blockSum / BlockSamples));
            blockSum = 0.0;
        }
    }
    const double rms = std::sqrt(sum / double(samples.size()));
    if (std::isinf(quietestBlock))
        quietestBlock = rms;
    std::printf("peak=%d rms=%.1f quietest=%.1f seconds=%.2f\n", peak, rms, quietestBlock,
                double(samples.size()) / (FramesPerSecond * Channels));
    return 0;
}

int pixel(char** at)
{
    const QImage shot = image(at[0]);
    const QPoint point(int(number(at[1])), int(number(at[2])));
    if (!shot.rect().contains(point))
        fail("the pixel lies outside the picture");
    const QRgb value = shot.pixel(point);
    std::printf("%d %d %d\n", qRed(value), qGreen(value), qBlue(value));
    return 0;
}

int count(char** at)
{
    const QImage shot = image(at[0]);
    const QRect wanted = area(shot, at + 1);
    const QRgb target = colour(at + 5);
    long long found = 0;
    for (int y = wanted.top(); y <= wanted.bottom(); ++y)
        for (int x = wanted.left(); x <= wanted.right(); ++x)
            found += (shot.pixel(x, y) & 0xFFFFFF) == (target & 0xFFFFFF);
    std::printf("%lld\n", found);
    return 0;
}

long long differences(const QImage& first, const QImage& second, const QRect& wanted)
{
    if (!first.rect().contains(wanted) || !second.rect().contains(wanted))
        fail("the area lies outside the pictures");
    long long different = 0;
    for (int y = wanted.top(); y <= wanted.bottom(); ++y)
        for (int x = wanted.left(); x <= wanted.right(); ++x)
            different += (first.pixel(x, y) & 0xFFFFFF) != (second.pixel(x, y) & 0xFFFFFF);
    return different;
}

int differ(char** at)
{
    const QImage first = image(at[0]);
    const QImage second = image(at[1]);
    std::printf("%lld\n", differences(first, second, area(first, at + 2)));
    return 0;
}

int cells(char** at)
{
    const QImage first = image(at[0]);
    const QImage second = image(at[1]);
    const QRect cell = area(first, at + 2);
    const int dx = int(number(at[6]));
    const int dy = int(number(at[7]));
    const int columns = int(number(at[8]));
    const int rows = int(number(at[9]));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const long long different = differences(first, second, cell.translated(column * dx, row * dy));
            std::printf(row + column == 0 ? "%lld" : " %lld", different);
        }
    }
    std::printf("\n");
    return 0;
}

int firstRow(char** at)
{
    const QImage shot = image(at[0]);
    const int x = int(number(at[1]));
    const int top = std::max(0, int(number(at[2])));
    const int bottom = std::min(shot.height() - 1, int(number(at[3])));
    const QRgb target = colour(at + 4);
    if (x < 0 || x >= shot.width())
        fail("the column lies outside the picture");
    for (int y = top; y <= bottom; ++y) {
        if ((shot.pixel(x, y) & 0xFFFFFF) == (target & 0xFFFFFF)) {
            std::printf("%d\n", y);
            return 0;
        }
    }
    std::printf("-1\n");
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    struct Command {
        const char* name;
        int arguments;
        int (*run)(char**);
    };
    static const Command commands[] = {
        {"level", 3, level},   {"pixel", 3, pixel},  {"count", 8, count},
        {"differ", 6, differ}, {"cells", 10, cells}, {"first", 7, firstRow},
    };
    if (argc >= 2) {
        for (const Command& command : commands) {
            if (argv[1] == std::string(command.name)) {
                if (argc - 2 != command.arguments)
                    fail(std::string(command.name) + " takes " + std::to_string(command.arguments) + " arguments");
                return command.run(argv + 2);
            }
        }
    }
    fail("usage: e2eprobe level|pixel|count|differ|cells|first ...");
}
