#pragma once

#include "AudioEngine.h"

namespace tonovka {

// The players' sounds in a browser page, played by the page (web-audio.js) through Web Audio: the
// siren as it is, the tune rendered by FluidSynth compiled to WebAssembly, with the levels the
// desktop gives them. The page decodes and loads in the background, so a sound that it then cannot play
// says so in the browser's console and stays silent.
class WebAudioEngine final : public AudioEngine {
public:
    bool start() override;
    bool loadWave(int player, const QByteArray& bytes) override;
    bool loadMidi(int player, const QByteArray& bytes) override;
    void play(int player) override;
    void release(int player) override;
    bool isSounding(int player) const override;
    QString lastError() const override { return m_error; }

    // Loads the synthesizer that renders tunes, where the page has started its sound.
    static void prepareTunes();

private:
    QString m_error;
};

} // namespace tonovka
