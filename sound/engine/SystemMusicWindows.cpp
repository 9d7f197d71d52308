#include "MixerMusic.h"
#include "Music.h"

namespace tonovka {

// The tune goes to Windows' own MIDI synthesizer, through SDL_mixer's native MIDI: Windows has no
// FluidSynth and no soundfont, and its players hear the instruments of their own system.
std::unique_ptr<Music> makeSystemMusic(const AudioLibraries& lib, const QStringList&, double volume)
{
    return std::make_unique<MixerMusic>(lib, volume);
}

// SDL and SDL_mixer are the only audio libraries here, and their messages are routed already.
void routeSystemAudioMessages(const AudioLibraries&) {}

} // namespace tonovka
