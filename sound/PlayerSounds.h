#pragma once

#include "AudioEngine.h"
#include "AudioService.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace tonovka {

// The players' commands as the audio thread carries them out: each sound file is found, read and
// checked here, and only bytes that passed the checks reach the audio engine, from memory.
// The engine is made (the audio libraries loaded) and the device opened by the first command that
// needs them; when either fails, every call after that does nothing.
class PlayerSounds {
public:
    // Makes the engine, or says in error why it cannot.
    using EngineMaker = std::function<std::unique_ptr<AudioEngine>(QString& error)>;

    // folders: where to look for a sound that the working directory lacks.
    PlayerSounds(QStringList folders, EngineMaker makeEngine);
    ~PlayerSounds();
    PlayerSounds(const PlayerSounds&) = delete;
    PlayerSounds& operator=(const PlayerSounds&) = delete;

    // Why the sound will not be heard, or nothing when it is ready to play.
    QString open(int player, AudioDevice device, const QString& fileName);
    void play(int player);
    void close(int player);
    bool isSounding(int player) const;

private:
    bool start();

    enum class Started { NotYet, Yes, Failed };

    QStringList m_folders;
    EngineMaker m_makeEngine;
    Started m_started = Started::NotYet;
    std::unique_ptr<AudioEngine> m_engine;
};

} // namespace tonovka
