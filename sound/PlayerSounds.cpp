#include "PlayerSounds.h"

#include "AudioLibraries.h"
#include "SdlEngine.h"
#include "SoundFileCheck.h"
#include "SoundFileSearch.h"
#include "SoundLog.h"

#include <QElapsedTimer>

namespace tonovka {

PlayerSounds::PlayerSounds(QStringList folders, QStringList soundFonts, QStringList libraries)
    : m_folders(std::move(folders)), m_soundFonts(std::move(soundFonts)), m_libraries(std::move(libraries))
{
}

// The engine stops every sound and closes the device as it goes.
PlayerSounds::~PlayerSounds() = default;

void PlayerSounds::open(int player, AudioDevice device, const QString& fileName)
{
    if (!start())
        return;
    m_engine->release(player);
    const QString path = findSoundFile(fileName, m_folders);
    const SoundFileContents contents = readSoundFile(path, device);
    if (contents.problem != SoundFileProblem::None) {
        qCDebug(lcSound) << "player" << player << "stays silent:" << path << soundFileProblemName(contents.problem);
        return;
    }
    QElapsedTimer timer;
    timer.start();
    bool loaded = false;
    if (device == AudioDevice::WaveAudio) {
        loaded = m_engine->loadWave(player, contents.bytes);
    } else {
        loaded = m_engine->loadMidi(player, contents.bytes);
    }
    if (loaded)
        qCDebug(lcSound) << "player" << player << "loaded" << path << "in" << timer.elapsed() << "ms";
    else
        qCDebug(lcSound) << "player" << player << "stays silent:" << path << m_engine->lastError();
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
    const AudioLibraries* libraries = loadAudioLibraries(m_libraries, error);
    if (!libraries) {
        qCDebug(lcSound) << "no sound: the audio libraries cannot be loaded:" << error;
        return false;
    }
    m_engine = std::make_unique<SdlEngine>(*libraries, m_soundFonts);
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
