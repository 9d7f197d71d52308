#include "MixerMusic.h"
#include "Music.h"

namespace tonovka {

namespace {

// A machine with no MIDI output has nothing to play the tune on. Windows' MIDI stream would fail
// to open there, and Wine's has been seen to crash opening it, so the tune is not even taken.
class NoMidiOutput final : public Music {
public:
    bool load(const QByteArray&, QString& error) override
    {
        error = QStringLiteral("the system has no MIDI output");
        return false;
    }
    void play() override {}
    void stop() override {}
    bool isPlaying() const override { return false; }
};

} // namespace

// The tune goes to Windows' own MIDI synthesizer, through SDL_mixer's native MIDI: Windows has no
// FluidSynth and no soundfont, and its players hear the instruments of their own system.
std::unique_ptr<Music> makeSystemMusic(const AudioLibraries& lib, const QStringList&, double volume)
{
    if (lib.midiOutGetNumDevs() == 0)
        return std::make_unique<NoMidiOutput>();
    return std::make_unique<MixerMusic>(lib, volume);
}

// SDL and SDL_mixer are the only audio libraries here, and their messages are routed already.
void routeSystemAudioMessages(const AudioLibraries&)
{
}

} // namespace tonovka
