#pragma once

#include "AudioEngine.h"
#include "AudioService.h"

#include <QStringList>

#include <memory>

namespace tonovka {

// The players' commands as the audio thread carries them out: each sound file is found, read and
// checked here, and only bytes that passed the checks reach the audio engine, from memory.
// The audio libraries are loaded and the device opened by the first command that needs them; when
// either fails, every call after that does nothing.
class PlayerSounds {
public:
    // folders: where to look for a sound that the working directory lacks.
    // soundFonts: the soundfonts to try, in order (see findSoundFont), when the music opens.
    // libraries: the audio libraries to load (see loadAudioLibraries).
    PlayerSounds(QStringList folders, QStringList soundFonts, QStringList libraries);
    ~PlayerSounds();
    PlayerSounds(const PlayerSounds&) = delete;
    PlayerSounds& operator=(const PlayerSounds&) = delete;

    void open(int player, AudioDevice device, const QString& fileName);
    void play(int player);
    void close(int player);
    bool isSounding(int player) const;

private:
    bool start();

    enum class Started { NotYet, Yes, Failed };

    QStringList m_folders;
    QStringList m_soundFonts;
    QStringList m_libraries;
    Started m_started = Started::NotYet;
    std::unique_ptr<AudioEngine> m_engine;
};

} // namespace tonovka
