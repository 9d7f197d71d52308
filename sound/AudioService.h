#pragma once

#include <QString>

namespace tonovka {

// The two kinds of device that the screens open: a waveform sound and a MIDI sequencer.
enum class AudioDevice { WaveAudio, Sequencer };

// The device's name as the screens write it: "waveaudio" or "sequencer".
inline QString audioDeviceName(AudioDevice device)
{
    return device == AudioDevice::WaveAudio ? QStringLiteral("waveaudio") : QStringLiteral("sequencer");
}

// What the sound players ask of whatever makes the sound. Every call returns at once and reports
// nothing back: a sound that cannot be played is simply not heard, and the game goes on.
// All calls come from the user-interface thread.
class AudioService {
public:
    virtual ~AudioService() = default;

    // A number for a new player, 1 for the first; the other calls name the player by it.
    virtual int addPlayer() = 0;

    // Makes the player ready to play the named file on a device of this kind. Whatever the player
    // had open is closed first.
    virtual void open(int player, AudioDevice device, const QString& fileName) = 0;

    // Plays the opened sound once, from its beginning, in the background.
    virtual void play(int player) = 0;

    // Stops the player's sound at once and lets go of its file.
    virtual void close(int player) = 0;

    // Whether the player's last play may still be sounding: true from "play" until the sound has
    // ended, could not start, or was closed. It may lag the real sound by a fraction of a second.
    virtual bool isSounding(int player) const = 0;
};

} // namespace tonovka
