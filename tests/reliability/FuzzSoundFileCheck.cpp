// libFuzzer target of the checks that every sound file passes before SDL sees it. Each input is
// given to readSoundFile as a WAV and as a MIDI file, and to looksLikeSoundFont. Built only with
// -DTONOVKA_BUILD_FUZZER=ON and clang; bench/reliability/libfuzzer.sh builds and runs it.
//
// Besides not crashing, a file that passes must come back byte for byte, and must really start
// as its kind of file does.

#include "SoundFileCheck.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

using namespace tonovka;

namespace {

// The checks read a path, so each input goes into one memory file that stays open: no disk.
int memoryFile()
{
    static const int fd = memfd_create("sound", MFD_CLOEXEC);
    if (fd < 0)
        std::abort();
    return fd;
}

void check(const QString& path, AudioDevice device, const QByteArray& input)
{
    const SoundFileContents contents = readSoundFile(path, device);
    if (contents.problem != SoundFileProblem::None) {
        if (!contents.bytes.isEmpty())
            std::abort(); // a refused file hands on nothing
        return;
    }
    if (contents.bytes != input)
        std::abort();
    const bool rightStart = device == AudioDevice::WaveAudio ? input.startsWith("RIFF") && input.mid(8, 4) == "WAVE"
                                                             : input.startsWith("MThd");
    if (!rightStart)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = memoryFile();
    if (::ftruncate(fd, 0) != 0)
        std::abort();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::pwrite(fd, data + done, size - done, off_t(done));
        if (wrote <= 0)
            std::abort();
        done += std::size_t(wrote);
    }
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    check(path, AudioDevice::WaveAudio, input);
    check(path, AudioDevice::Sequencer, input);
    (void)looksLikeSoundFont(path);
    return 0;
}
