#include "PlayerSounds.h"

#include "SoundFileCheck.h"
#include "SoundFileSearch.h"
#include "SoundLog.h"

#include <QElapsedTimer>

namespace tonovka {

PlayerSounds::PlayerSounds(QStringList folders, EngineMaker makeEngine)
    : m_folders(std::move(folders)), m_makeEngine(std::move(makeEngine))
{
}

// The engine stops every sound and closes the device as it goes.
PlayerSounds::~PlayerSounds() = default;

QString PlayerSounds::open(int player, AudioDevice device, const QString& fileName)
{
    if (!start())
        return QStringLiteral("there is no sound");
    m_engine->release(player);
    const QString path = findSoundFile(fileName, m_folders);
    const SoundFileContents contents = readSoundFile(path, device);
    QString silence;
    QElapsedTimer timer;
    timer.start();
    if (contents.problem != SoundFileProblem::None)
        silence = QString::fromLatin1(soundFileProblemName(contents.problem));
    else if (!(device == AudioDevice::WaveAudio ? m_engine->loadWave(player, contents.bytes)
                                                 : m_engine->loadMidi(player, contents.bytes)))
        silence = m_engine->lastError();
    if (silence.isEmpty()) {
        qCDebug(lcSound) << "player" << player << "loaded" << path << "in" << timer.elapsed() << "ms";
        return {};
    }
    qCDebug(lcSound) << "player" << player << "stays silent:" << path << silence;
    return path + QStringLiteral(": ") + silence;
}

void PlayerSounds::play(int player)
{
    if (m_started == Started::Yes)
        m_engine->play(player);
}

void PlayerSounds::close(int player)
{
    if (m_started == Started::Yes)
        m_engine->release(player);
}

bool PlayerSounds::isSounding(int player) const
{
    return m_started == Started::Yes && m_engine->isSounding(player);
}

bool PlayerSounds::start()
{
    if (m_started != Started::NotYet)
        return m_started == Started::Yes;
    m_started = Started::Failed;
    QElapsedTimer timer;
    timer.start();
    QString error;
    m_engine = m_makeEngine(error);
    if (!m_engine) {
        qCDebug(lcSound) << "no sound: the audio libraries cannot be loaded:" << error;
        return false;
    }
    const qint64 loadedMs = timer.elapsed();
    if (!m_engine->start()) {
        qCDebug(lcSound) << "no sound: no audio device:" << m_engine->lastError();
        m_engine.reset();
        return false;
    }
    qCDebug(lcSound) << "audio libraries loaded in" << loadedMs << "ms, device open in" << timer.elapsed() - loadedMs
                     << "ms";
    m_started = Started::Yes;
    return true;
}

} // namespace tonovka
