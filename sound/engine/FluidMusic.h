#pragma once

#include "AudioLibraries.h"
#include "Music.h"
#include "TuneInstruments.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <mutex>

namespace tonovka {

// The tune on Linux: played by a FluidSynth synthesizer of its own and rendered into the mixer's
// buffer on the device's thread, for as long as this object lives. The synthesizer is set for
// this game's tune: it is given only the presets, instruments and samples of the instruments the
// tune plays (TuneSoundFont.h), all read when the tune loads, so that rendering reads nothing from
// the disk; there is no reverb and no chorus, and it renders at the mixer's rate, with voices
// enough for the tune's busiest moment.
class FluidMusic final : public Music {
public:
    // volume: 0 to 1, as a share of the full volume. soundFonts: the General MIDI soundfonts to
    // try, in order, each time a tune loads (see findSoundFont).
    FluidMusic(const AudioLibraries& lib, int sampleRate, double volume, QStringList soundFonts = {});
    ~FluidMusic() override;
    FluidMusic(const FluidMusic&) = delete;
    FluidMusic& operator=(const FluidMusic&) = delete;

    // With the first whole soundfont of those given, looked for only now, so that one that went
    // missing or was damaged since the program started leaves just the music silent.
    bool load(const QByteArray& midi, QString& error) override;
    // Lets go of the tune before, then takes this one, read with the presets of its instruments
    // from the soundfont at soundFontPath (read again only for another soundfont, or a tune with
    // other instruments).
    // False, with the reason in error, when the soundfont cannot be read or the tune not taken.
    bool load(const QByteArray& midi, const QString& soundFontPath, QString& error);
    // Whether the synthesizer holds only the tune's part of the soundfont, not the whole file.
    bool holdsOnlyTheTunesPart() const { return m_soundFontPart; }
    void play() override;
    void stop() override;
    bool isPlaying() const override;

    // Called by the audio device for each buffer (signed 16 bits, two channels interleaved).
    void render(unsigned char* stream, int bytes);

private:
    bool loadSoundFont(const QString& soundFontPath, const TuneInstruments& instruments, QString& error);
    void dropPlayer();

    const AudioLibraries& m_lib;
    const QStringList m_soundFonts;
    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr; // made by the first load that reads the soundfont
    QString m_soundFontPath;          // the soundfont the synthesizer holds
    TuneInstruments m_instruments;    // whose presets it holds
    bool m_soundFontPart = false;     // whether it holds only their part of the soundfont
    mutable std::mutex m_mutex;       // guards the synthesizer and the player against render
    fluid_player_t* m_player = nullptr;
    bool m_rendering = false; // from play until the tune and its last notes have ended
};

} // namespace tonovka
