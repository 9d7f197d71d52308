#include "WaveFile.h"

namespace tonovka::soundgen {

namespace {

// WAV files are little-endian whatever machine writes them.
void appendLittleEndian(std::string& out, std::uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

} // namespace

std::string encodeWave(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate)
{
    constexpr std::uint32_t channelCount = 1;
    constexpr std::uint32_t bitsPerSample = 16;
    constexpr std::uint32_t blockAlign = channelCount * bitsPerSample / 8;
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * blockAlign);

    std::string out;
    out.reserve(44 + dataSize);
    out += "RIFF";
    appendLittleEndian(out, 36 + dataSize, 4);
    out += "WAVE";
    out += "fmt ";
    appendLittleEndian(out, 16, 4);
    appendLittleEndian(out, 1, 2); // integer PCM
    appendLittleEndian(out, channelCount, 2);
    appendLittleEndian(out, sampleRate, 4);
    appendLittleEndian(out, sampleRate * blockAlign, 4);
    appendLittleEndian(out, blockAlign, 2);
    appendLittleEndian(out, bitsPerSample, 2);
    out += "data";
    appendLittleEndian(out, dataSize, 4);
    for (const std::int16_t sample : samples)
        appendLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

} // namespace tonovka::soundgen
