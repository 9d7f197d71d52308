#pragma once

#include "AudioEngine.h"
#include "AudioLibraries.h"
#include "FluidMusic.h"

#include <map>
#include <memory>

namespace tonovka {

// SDL_mixer plays each player's WAV on a channel of its own; the music is FluidSynth's, which
// SDL_mixer takes in place of its own music stream.
class SdlEngine final : public AudioEngine {
public:
    explicit SdlEngine(const AudioLibraries& lib) : m_lib(lib) {}
    ~SdlEngine() override;
    SdlEngine(const SdlEngine&) = delete;
    SdlEngine& operator=(const SdlEngine&) = delete;

    bool start() override;
    bool loadWave(int player, const QByteArray& bytes) override;
    bool loadMidi(int player, const QByteArray& bytes, const QString& soundFontPath) override;
    void play(int player) override;
    void release(int player) override;
    bool isSounding(int player) const override;
    QString lastError() const override { return m_error; }

private:
    const AudioLibraries& m_lib;
    bool m_started = false;
    std::map<int, Mix_Chunk*> m_chunks;
    std::unique_ptr<FluidMusic> m_music;
    int m_musicPlayer = 0; // the player whose tune the music holds, 0 for none
    QString m_error;
};

} // namespace tonovka
