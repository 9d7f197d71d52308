#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace tonovka {

struct AudioLibraries;

// One tune at a time, as the sequencer plays it. Every call comes from the audio thread.
class Music {
public:
    virtual ~Music() = default;

    // Lets go of the tune before, then takes this standard MIDI file (whole, see readSoundFile).
    // False, with the reason in error, when it cannot be played.
    virtual bool load(const QByteArray& midi, QString& error) = 0;
    virtual void play() = 0;
    // Silences the tune at once and lets go of it.
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
};

// The system's sequencer, made once the mixer's device is open: on Linux FluidSynth with a
// General MIDI soundfont, the first whole one of soundFonts (SystemMusicLinux.cpp); on Windows the
// system's own MIDI synthesizer (SystemMusicWindows.cpp). volume: 0 to 1, as a share of full.
std::unique_ptr<Music> makeSystemMusic(const AudioLibraries& lib, const QStringList& soundFonts, double volume);

// Sends what the system's audio libraries would print on stderr to the sound's debug messages
// (LibraryMessages.h); SDL's own messages are routed on every system.
void routeSystemAudioMessages(const AudioLibraries& lib);

} // namespace tonovka
