#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tonovka {

// The output format; the tests read it back from SDL's disk driver. The tune is rendered at this
// rate: at the siren's 22050 Hz its hi-hats and cymbals would lose their top octave.
struct MixerFormat {
    static constexpr int SampleRate = 44100;
    static constexpr int Channels = 2;        // interleaved, signed 16 bits each
    static constexpr int BufferFrames = 1024; // about 23 ms a buffer
    static constexpr int BytesPerFrame = 2 * Channels;
};

// What the players' sounds need of the audio libraries. Every call comes from the audio thread.
class AudioEngine {
public:
    virtual ~AudioEngine() = default;

    // Opens the audio device; false when there is none, and then nothing will sound.
    virtual bool start() = 0;

    // Makes the player's sound the WAV file in bytes; false when the library refuses it, as far as
    // the engine knows at once (the page's, sound/web/, learns it only as the page decodes it).
    virtual bool loadWave(int player, const QByteArray& bytes) = 0;

    // Makes the player's sound the standard MIDI file in bytes, played by the system's sequencer.
    // False when the tune, or what the sequencer needs for it, cannot be used, as far as the engine
    // knows at once (the page's learns it later). A desktop has one music stream, so one player at
    // a time may hold a tune: loading one for another player takes the stream from the first, who
    // is then left with nothing to play. A page renders each player's tune into sound of its own.
    virtual bool loadMidi(int player, const QByteArray& bytes) = 0;

    virtual void play(int player) = 0;

    // Stops the player's sound at once and forgets it.
    virtual void release(int player) = 0;

    virtual bool isSounding(int player) const = 0;

    // Why the last call failed, for the debug messages.
    virtual QString lastError() const = 0;
};

// The audio libraries as the system has them (cmake/Linux.cmake, cmake/Windows.cmake), in the
// order to load them: those that the game carries, beside the program, then the system's own.
// Each is the file to load, never a name to look for.
QStringList installedAudioLibraries();

} // namespace tonovka
