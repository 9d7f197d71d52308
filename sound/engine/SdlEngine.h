#pragma once

#include "AudioEngine.h"
#include "AudioLibraries.h"
#include "Music.h"

#include <QStringList>

#include <map>
#include <memory>

namespace tonovka {

// SDL_mixer plays each player's WAV on a channel of its own; the music is the system's sequencer
// (Music.h).
class SdlEngine final : public AudioEngine {
public:
    // soundFonts: the General MIDI soundfonts for the sequencer, where it needs one.
    SdlEngine(const AudioLibraries& lib, QStringList soundFonts) : m_lib(lib), m_soundFonts(std::move(soundFonts)) {}
    ~SdlEngine() override;
    SdlEngine(const SdlEngine&) = delete;
    SdlEngine& operator=(const SdlEngine&) = delete;

    bool start() override;
    bool loadWave(int player, const QByteArray& bytes) override;
    bool loadMidi(int player, const QByteArray& bytes) override;
    void play(int player) override;
    void release(int player) override;
    bool isSounding(int player) const override;
    QString lastError() const override { return m_error; }

private:
    const AudioLibraries& m_lib;
    const QStringList m_soundFonts;
    bool m_started = false;
    std::map<int, Mix_Chunk*> m_chunks;
    std::unique_ptr<Music> m_music;
    int m_musicPlayer = 0; // the player whose tune the music holds, 0 for none
    QString m_error;
};

} // namespace tonovka
