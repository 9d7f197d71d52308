#include "DamagedSounds.h"

#include "SoundFixtures.h"

#include <QDir>
#include <QFile>

#include <cstring>

#include <sys/stat.h>

namespace tonovka::fixtures {

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
        {"link to a directory", P::NotRegularFile},
        {"symlink loop", P::Missing},
        {"dangling link", P::Missing},
        {"just over the limit", P::TooLarge},
        {"gigabyte", P::TooLarge},
        {"unreadable", P::Unreadable},
        {"fifo", P::NotRegularFile},
        {"link to an endless device", P::NotRegularFile},
        {"random device", P::NotRegularFile},
    };
    return sounds;
}

bool makeDamagedSound(const char* kind, QString& path, AudioDevice device)
{
    const QByteArray good = goodSound(device);
    const QByteArray name = QFile::encodeName(path);
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
    if (is("unreadable"))
        return writeFile(path, good) && ::chmod(name.constData(), 0) == 0;
    if (is("fifo"))
        return ::mkfifo(name.constData(), 0644) == 0;
    if (is("link to an endless device"))
        return QFile::link(QStringLiteral("/dev/zero"), path);
    if (is("random device"))
        return path = QStringLiteral("/dev/urandom"), true;
    return false;
}

} // namespace tonovka::fixtures
