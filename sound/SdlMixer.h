#pragma once

#include "AudioService.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace tonovka {

// The output format; the tests read it back from SDL's disk driver.
struct MixerFormat {
    static constexpr int SampleRate = 44100;
    static constexpr int Channels = 2;         // interleaved, signed 16 bits each
    static constexpr int BufferFrames = 1024;  // about 23 ms a buffer
    static constexpr int BytesPerFrame = 2 * Channels;
};

// Every SDL and SDL_mixer call of the program, made on the one audio thread and nowhere else.
// Each player has a channel of its own for a waveform sound; MIDI goes through SDL_mixer's single
// music stream, which belongs to the player that last started it.
// SDL starts with the first call that needs it. When the device cannot be opened, every call
// after that does nothing.
class SdlMixer {
public:
    // folders: where to look for a sound that the working directory lacks.
    // soundFonts: the soundfonts to try, in order (see findSoundFont).
    SdlMixer(QStringList folders, QStringList soundFonts);
    ~SdlMixer();
    SdlMixer(const SdlMixer&) = delete;
    SdlMixer& operator=(const SdlMixer&) = delete;

    void open(int player, AudioDevice device, const QString& fileName);
    void play(int player);
    void close(int player);
    bool isSounding(int player) const;

private:
    struct Sound {
        QByteArray bytes; // the file; SDL_mixer may read a MIDI from it for as long as it plays
        Mix_Chunk* chunk = nullptr;
        Mix_Music* music = nullptr;
    };

    bool start();
    void load(int player, Sound& sound, AudioDevice device, const QString& path);
    void release(int player);

    enum class Started { NotYet, Yes, Failed };

    QStringList m_folders;
    QStringList m_soundFonts;
    bool m_haveSoundFont = false;
    Started m_started = Started::NotYet;
    std::map<int, Sound> m_sounds;
    int m_musicPlayer = 0; // the player whose MIDI is in the music stream, 0 for none
};

} // namespace tonovka
