#include "SoundFileCheck.h"

#include "LittleEndian.h"
#include "RegularFile.h"

#include <cstring>
#include <filesystem>

namespace tonovka {

namespace {

SoundFileProblem problemOf(RegularFile::Problem problem)
{
    switch (problem) {
    case RegularFile::Problem::None:
        return SoundFileProblem::None;
    case RegularFile::Problem::Missing:
        return SoundFileProblem::Missing;
    case RegularFile::Problem::NotRegularFile:
        return SoundFileProblem::NotRegularFile;
    case RegularFile::Problem::Unreadable:
        return SoundFileProblem::Unreadable;
    }
    return SoundFileProblem::Unreadable;
}

RegularFile openRegularFile(const QString& path, SoundFileProblem& problem)
{
    RegularFile::Problem fileProblem = RegularFile::Problem::None;
    RegularFile file = RegularFile::open(std::filesystem::path(path.toStdU16String()), fileProblem);
    problem = problemOf(fileProblem);
    return file;
}

bool hasRightMagic(const QByteArray& bytes, AudioDevice device)
{
    if (device == AudioDevice::WaveAudio)
        return bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE";
    return bytes.startsWith("MThd");
}

std::uint32_t bigEndian32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return (std::uint32_t(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
}

// The chunks of a WAV file after "RIFF", its length and "WAVE". The length in the RIFF header is
// not trusted: writers that stream often leave it wrong.
bool waveIsWhole(const QByteArray& bytes)
{
    const std::int64_t size = bytes.size();
    bool format = false;
    bool samples = false;
    std::int64_t at = 12;
    while (at + 8 <= size) {
        const std::int64_t length = readLittle32(bytes.constData() + at + 4);
        if (length > size - at - 8)
            return false;
        const char* id = bytes.constData() + at;
        format = format || std::memcmp(id, "fmt ", 4) == 0;
        samples = samples || std::memcmp(id, "data", 4) == 0;
        at += 8 + length + (length & 1);
    }
    return format && samples;
}

// The header chunk and the chunks after it; chunks of unknown kinds are allowed, as in the
// standard, but only "MTrk" counts as a track.
bool midiIsWhole(const QByteArray& bytes)
{
    const std::int64_t size = bytes.size();
    if (size < 14)
        return false;
    const std::int64_t headerLength = bigEndian32(bytes.constData() + 4);
    if (headerLength < 6 || headerLength > size - 8)
        return false;
    const int tracksAnnounced = (quint8(bytes[10]) << 8) | quint8(bytes[11]);
    int tracks = 0;
    std::int64_t at = 8 + headerLength;
    while (at + 8 <= size) {
        const std::int64_t length = bigEndian32(bytes.constData() + at + 4);
        if (length > size - at - 8)
            return false;
        if (std::memcmp(bytes.constData() + at, "MTrk", 4) == 0)
            ++tracks;
        at += 8 + length;
    }
    return tracks > 0 && tracks >= tracksAnnounced;
}

} // namespace

const char* soundFileProblemName(SoundFileProblem problem)
{
    switch (problem) {
    case SoundFileProblem::None:
        return "none";
    case SoundFileProblem::Missing:
        return "missing";
    case SoundFileProblem::NotRegularFile:
        return "not a regular file";
    case SoundFileProblem::Unreadable:
        return "unreadable";
    case SoundFileProblem::TooLarge:
        return "too large";
    case SoundFileProblem::WrongContent:
        return "not a sound of the right kind";
    case SoundFileProblem::Incomplete:
        return "cut off";
    }
    return "?";
}

SoundFileContents readSoundFile(const QString& path, AudioDevice device)
{
    SoundFileContents result;
    const RegularFile file = openRegularFile(path, result.problem);
    if (result.problem != SoundFileProblem::None)
        return result;
    if (file.size() > MaxSoundFileBytes) {
        result.problem = SoundFileProblem::TooLarge;
        return result;
    }
    // A file that shrank since it was opened reads as shorter.
    QByteArray bytes(qsizetype(file.size()), Qt::Uninitialized);
    const std::int64_t got = file.readAt(0, bytes.data(), std::size_t(bytes.size()));
    if (got < 0) {
        result.problem = SoundFileProblem::Unreadable;
        return result;
    }
    bytes.truncate(qsizetype(got));
    if (!hasRightMagic(bytes, device)) {
        result.problem = SoundFileProblem::WrongContent;
        return result;
    }
    if (!(device == AudioDevice::WaveAudio ? waveIsWhole(bytes) : midiIsWhole(bytes))) {
        result.problem = SoundFileProblem::Incomplete;
        return result;
    }
    result.bytes = bytes;
    return result;
}

} // namespace tonovka
