#include "DiskAudioSession.h"

#include "SoundFileSearch.h"
#include "SoundFixtures.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace tonovka::fixtures {

QString installedSoundFont()
{
    return QFile::exists(debianSoundFont()) ? debianSoundFont() : QString();
}

DiskAudioSession::DiskAudioSession(QStringList soundFonts, QStringList folders, const QByteArray& driver,
                                   QStringList libraries)
{
    if (driver.isEmpty())
        qunsetenv("SDL_AUDIODRIVER");
    else
        qputenv("SDL_AUDIODRIVER", driver);
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(path(QStringLiteral("out.raw"))));
    m_audio = std::make_unique<SdlAudioService>(std::move(folders), std::move(soundFonts), std::move(libraries));
}

DiskAudioSession::~DiskAudioSession()
{
    m_audio.reset();
}

QVector<qint16> DiskAudioSession::samples() const
{
    return rawSamples(path(QStringLiteral("out.raw")));
}

QVector<qint16> DiskAudioSession::finish()
{
    m_audio.reset();
    return samples();
}

qsizetype DiskAudioSession::samplesWritten() const
{
    return QFileInfo(path(QStringLiteral("out.raw"))).size() / 2;
}

qsizetype DiskAudioSession::waitForSound(qsizetype from) const
{
    const QDeadlineTimer deadline(EventTimeout);
    do {
        const qsizetype found = firstLoudSample(samples(), from);
        if (found >= 0)
            return found;
        QThread::msleep(10);
    } while (!deadline.hasExpired());
    return -1;
}

bool DiskAudioSession::waitForSamples(qsizetype count) const
{
    const QDeadlineTimer deadline(EventTimeout);
    while (samplesWritten() < count) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

bool DiskAudioSession::waitUntilSilent(int player) const
{
    const QDeadlineTimer deadline(EventTimeout);
    while (m_audio->isSounding(player)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace tonovka::fixtures
