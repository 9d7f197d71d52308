#include "SoundFileCheck.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonovka {

namespace {

// An open file descriptor that closes itself.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

SoundFileProblem problemFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
        return SoundFileProblem::Missing;
    default:
        return SoundFileProblem::Unreadable;
    }
}

// Opens a regular file for reading and gives its size. The type is looked at before the open, so
// that a device is never opened (opening one can have effects of its own), and again after it,
// on what was really opened. O_NONBLOCK keeps a FIFO that slipped in between from hanging.
SoundFileProblem openRegularFile(const QString& path, int& fd, std::int64_t& size)
{
    if (path.isEmpty())
        return SoundFileProblem::Missing;
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return problemFromErrno(errno);
    if (!S_ISREG(info.st_mode))
        return SoundFileProblem::NotRegularFile;

    fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return problemFromErrno(errno);
    if (::fstat(fd, &info) != 0)
        return SoundFileProblem::Unreadable;
    if (!S_ISREG(info.st_mode))
        return SoundFileProblem::NotRegularFile;
    size = info.st_size;
    return SoundFileProblem::None;
}

// Reads up to size bytes from the start of the file; a file that shrank meanwhile gives fewer.
bool readUpTo(int fd, std::int64_t size, QByteArray& bytes)
{
    bytes.resize(static_cast<qsizetype>(size));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return true;
}

// The 12 bytes at at; false when the file does not hold them.
bool readAt(int fd, std::int64_t at, char (&bytes)[12])
{
    ssize_t got = 0;
    do
        got = ::pread(fd, bytes, sizeof bytes, off_t(at));
    while (got < 0 && errno == EINTR);
    return got == ssize_t(sizeof bytes);
}

bool hasRightMagic(const QByteArray& bytes, AudioDevice device)
{
    if (device == AudioDevice::WaveAudio)
        return bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE";
    return bytes.startsWith("MThd");
}

std::uint32_t littleEndian32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
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
        const std::int64_t length = littleEndian32(bytes.constData() + at + 4);
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
    int fd = -1;
    std::int64_t size = 0;
    SoundFileContents result;
    result.problem = openRegularFile(path, fd, size);
    const FileDescriptor closer(fd);
    if (result.problem != SoundFileProblem::None)
        return result;
    if (size > MaxSoundFileBytes) {
        result.problem = SoundFileProblem::TooLarge;
        return result;
    }
    QByteArray bytes;
    if (!readUpTo(fd, size, bytes)) {
        result.problem = SoundFileProblem::Unreadable;
        return result;
    }
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

bool looksLikeSoundFont(const QString& path)
{
    int fd = -1;
    std::int64_t size = 0;
    const SoundFileProblem problem = openRegularFile(path, fd, size);
    const FileDescriptor closer(fd);
    char chunk[12];
    if (problem != SoundFileProblem::None || !readAt(fd, 0, chunk) || std::memcmp(chunk, "RIFF", 4) != 0 ||
        std::memcmp(chunk + 8, "sfbk", 4) != 0)
        return false;
    const std::int64_t end = littleEndian32(chunk + 4) + std::int64_t(8);
    if (end > size)
        return false;
    std::int64_t at = 12;
    for (const char* list : {"INFO", "sdta", "pdta"}) {
        if (!readAt(fd, at, chunk) || std::memcmp(chunk, "LIST", 4) != 0 || std::memcmp(chunk + 8, list, 4) != 0)
            return false;
        const std::int64_t length = littleEndian32(chunk + 4);
        if (length < 4 || length > end - at - 8)
            return false;
        at += 8 + length + (length & 1);
    }
    return true;
}

} // namespace tonovka
