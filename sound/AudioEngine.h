#pragma once

#include <QByteArray>
#include <QString>

namespace tonovka {

// The output format. Both sounds suit it: the siren is recorded at this rate, and the tune is
// rendered at it, so nothing is resampled. The tests read it back from SDL's disk driver.
struct MixerFormat {
    static constexpr int SampleRate = 22050;
    static constexpr int Channels = 2;        // interleaved, signed 16 bits each
    static constexpr int BufferFrames = 512;  // about 23 ms a buffer
    static constexpr int BytesPerFrame = 2 * Channels;
};

// The audio libraries (SDL, SDL_mixer, FluidSynth and the dozens of libraries they bring) live in
// a module of their own that the audio thread loads, so that none of them is mapped while the
// program starts. This is all the program sees of them. Every call comes from the audio thread.
class AudioEngine {
public:
    virtual ~AudioEngine() = default;

    // Opens the audio device; false when there is none, and then nothing will sound.
    virtual bool start() = 0;

    // Makes the player's sound the WAV file in bytes; false when the library refuses it.
    virtual bool loadWave(int player, const QByteArray& bytes) = 0;

    // Makes the player's sound the standard MIDI file in bytes, played with the instruments of
    // the soundfont at soundFontPath. There is one music stream, so this lets go of any other
    // player's tune. False when the tune or the soundfont cannot be used.
    virtual bool loadMidi(int player, const QByteArray& bytes, const QString& soundFontPath) = 0;

    virtual void play(int player) = 0;

    // Stops the player's sound at once and forgets it.
    virtual void release(int player) = 0;

    virtual bool isSounding(int player) const = 0;

    // Why the last call failed, for the debug messages.
    virtual QString lastError() const = 0;
};

// The module's one entry point, looked up by this name: a new engine, or null.
using MakeAudioEngine = AudioEngine* (*)();
inline constexpr char MakeAudioEngineName[] = "tonovka_make_audio_engine";

} // namespace tonovka
