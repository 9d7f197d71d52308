#include "DamagedSounds.h"

#include "DiskAudioSession.h"
#include "SoundFixtures.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstring>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tonovka::fixtures {

namespace {

QByteArray installedBank()
{
    static const QByteArray bank = [] {
        QFile file(installedSoundFont());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    return bank;
}

QByteArray little32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The installed soundfont with the four bytes at the place found changed.
bool writeChanged(const QString& path, const char* found, qsizetype offset, const QByteArray& bytes)
{
    QByteArray bank = installedBank();
    const qsizetype at = bank.indexOf(found);
    return at >= 0 && writeFile(path, bank.replace(at + offset, bytes.size(), bytes));
}

} // namespace

QByteArray goodSound(AudioDevice device)
{
    return device == AudioDevice::WaveAudio ? waveTone(400) : midiTune(2);
}

const std::vector<DamagedSound>& damagedSounds()
{
    using P = SoundFileProblem;
    static const std::vector<DamagedSound> sounds{
        {"missing", P::Missing},
        {"empty name", P::Missing},
        {"empty", P::WrongContent},
        {"random bytes", P::WrongContent},
        {"the other kind", P::WrongContent},
        {"magic cut short", P::WrongContent},
        {"right magic then random bytes", P::Incomplete},
        {"header only", P::Incomplete},
        {"cut in half", P::Incomplete},
        {"directory", P::NotRegularFile},
#ifndef _WIN32
        {"link to a directory", P::NotRegularFile},
        {"symlink loop", P::Missing},
        {"dangling link", P::Missing},
#endif
        {"just over the limit", P::TooLarge},
        {"gigabyte", P::TooLarge},
#ifndef _WIN32 // what only a POSIX system has, or lets a test make
        {"unreadable", P::Unreadable},
        {"fifo", P::NotRegularFile},
        {"link to an endless device", P::NotRegularFile},
        {"random device", P::NotRegularFile},
#endif
    };
    return sounds;
}

bool makeDamagedSound(const char* kind, QString& path, AudioDevice device)
{
    const QByteArray good = goodSound(device);
    const auto is = [kind](const char* other) { return std::strcmp(kind, other) == 0; };
    const auto sized = [&](qint64 size) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(good) == good.size() && file.resize(size);
    };
    if (is("missing"))
        return true;
    if (is("empty name"))
        return path.clear(), true;
    if (is("empty"))
        return writeFile(path, {});
    if (is("random bytes"))
        return writeFile(path, randomBytes(8192, 5));
    if (is("the other kind"))
        return writeFile(path,
                         goodSound(device == AudioDevice::WaveAudio ? AudioDevice::Sequencer : AudioDevice::WaveAudio));
    if (is("magic cut short"))
        return writeFile(path, good.left(device == AudioDevice::WaveAudio ? 11 : 3));
    if (is("right magic then random bytes"))
        return writeFile(path, good.left(12) + randomBytes(8192, 6));
    if (is("header only"))
        return writeFile(path, good.left(device == AudioDevice::WaveAudio ? 44 : 14));
    if (is("cut in half"))
        return writeFile(path, good.left(good.size() / 2));
    if (is("directory"))
        return QDir().mkdir(path);
    if (is("link to a directory"))
        return QFile::link(QDir::tempPath(), path);
    if (is("symlink loop"))
        return QFile::link(path + QLatin1String(".2"), path) && QFile::link(path, path + QLatin1String(".2"));
    if (is("dangling link"))
        return QFile::link(path + QLatin1String(".gone"), path);
    if (is("just over the limit"))
        return sized(MaxSoundFileBytes + 1);
    if (is("gigabyte"))
        return sized(qint64(1) << 30); // sparse: takes no room on the disk
#ifndef _WIN32
    const QByteArray name = QFile::encodeName(path);
    if (is("unreadable"))
        return writeFile(path, good) && ::chmod(name.constData(), 0) == 0;
    if (is("fifo"))
        return ::mkfifo(name.constData(), 0644) == 0;
#endif
    if (is("link to an endless device"))
        return QFile::link(QStringLiteral("/dev/zero"), path);
    if (is("random device"))
        return path = QStringLiteral("/dev/urandom"), true;
    return false;
}

QByteArray emptySoundFont()
{
    return "RIFF" + little32(40) + "sfbk" + "LIST" + little32(4) + "INFO" + "LIST" + little32(4) + "sdta" + "LIST" +
           little32(4) + "pdta";
}

const std::vector<DamagedSoundFont>& damagedSoundFonts()
{
    static const std::vector<DamagedSoundFont> soundFonts{
        {"missing", false, true},
        {"directory", false, true},
        {"random bytes", false, true},
        {"cut off", false, true},
        {"preset data shorter than its name", false, true},
        {"sample data longer than the bank", false, true},
        {"preset list renamed", true, true},
        {"preset list longer than the preset data", true, true},
        {"preset zones beyond their list", true, false},
        {"sample points renamed", true, true},
    };
    return soundFonts;
}

bool makeDamagedSoundFont(const char* kind, const QString& path)
{
    const auto is = [kind](const char* other) { return std::strcmp(kind, other) == 0; };
    if (is("missing"))
        return true;
    if (is("directory"))
        return QDir().mkdir(path);
    if (is("random bytes"))
        return writeFile(path, randomBytes(100000, 9));
    if (is("preset data shorter than its name"))
        return writeFile(path, "RIFF" + little32(28) + "sfbk" + "LIST" + little32(4) + "sdta" + "LIST" + little32(2) +
                                   "pdta");
    if (installedBank().isEmpty())
        return false;
    if (is("cut off"))
        return writeFile(path, installedBank().left(installedBank().size() / 2));
    if (is("sample data longer than the bank"))
        return writeChanged(path, "sdtasmpl", -4, little32(0xfffffff0));
    if (is("preset list renamed"))
        return writeChanged(path, "pdtaphdr", 4, "junk");
    if (is("preset list longer than the preset data"))
        return writeChanged(path, "pdtaphdr", 8, little32(0x7ffffff0));
    if (is("preset zones beyond their list"))
        return writeChanged(path, "pdtaphdr", 12 + 24, QByteArray("\xff\x7f", 2));
    if (is("sample points renamed"))
        return writeChanged(path, "sdtasmpl", 4, "junk");
    if (is("loops of no length or reversed")) {
        // Every other sample's loop ends where it starts, and the rest run from their end to their start.
        QByteArray bank = installedBank();
        const qsizetype list = bank.indexOf("shdr", bank.indexOf("pdtaphdr")) + 8;
        const qsizetype count = qFromLittleEndian<quint32>(bank.constData() + list - 4) / 46;
        for (qsizetype sample = 0; sample + 1 < count; ++sample) {
            char* loop = bank.data() + list + sample * 46 + 28;
            const quint32 start = qFromLittleEndian<quint32>(loop);
            qToLittleEndian(sample % 2 ? qFromLittleEndian<quint32>(loop + 4) : start, loop);
            qToLittleEndian(start, loop + 4);
        }
        return writeFile(path, bank);
    }
    return false;
}

} // namespace tonovka::fixtures
