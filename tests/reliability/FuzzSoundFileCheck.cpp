// libFuzzer target of the readers of outside bytes that every sound passes through before the
// audio libraries see it. Each input is given to readSoundFile as a WAV and as a MIDI file, to
// looksLikeSoundFont, to the reader of a tune's instruments, and to the soundfont's reader, which
// makes the part of it for the game's tune (and for the input's own instruments), every byte of
// which is then read back. Built only with -DTONOVKA_BUILD_FUZZER=ON and clang;
// bench/reliability/libfuzzer.sh builds and runs it.
//
// Besides not crashing, a file that passes must come back byte for byte, and must really start
// as its kind of file does; a soundfont's part must be whole: a RIFF bank whose length is its own.

#include "SoundFileCheck.h"
#include "SoundFontBank.h"
#include "TuneInstruments.h"
#include "TuneSoundFont.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

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

// The instruments of the game's tune, as its file names them.
const TuneInstruments& gameTune()
{
    static const TuneInstruments instruments = [] {
        QFile file(QStringLiteral(TONOVKA_TUNE));
        const TuneInstruments named =
            instrumentsOfTune(file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "");
        if (named.programs.empty())
            std::abort(); // no tune to make a part of the soundfont for
        return named;
    }();
    return instruments;
}

void readPart(const std::string& path, const TuneInstruments& instruments)
{
    const auto part = soundFontForTune(path, instruments);
    if (!part)
        return;
    std::string bytes(std::size_t(part->size()), '\0');
    if (!part->read(0, bytes.data(), bytes.size()) || bytes.compare(0, 4, "RIFF") != 0 ||
        bytes.compare(8, 4, "sfbk") != 0)
        std::abort();
    const auto* length = reinterpret_cast<const unsigned char*>(bytes.data() + 4);
    const std::uint32_t riff = length[0] | (length[1] << 8) | (length[2] << 16) | (std::uint32_t(length[3]) << 24);
    if (riff + std::size_t(8) != bytes.size())
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
    static const std::string name = QFile::encodeName(path).toStdString();
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    check(path, AudioDevice::WaveAudio, input);
    check(path, AudioDevice::Sequencer, input);
    (void)looksLikeSoundFont(name);
    readPart(name, gameTune());
    readPart(name, instrumentsOfTune(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
