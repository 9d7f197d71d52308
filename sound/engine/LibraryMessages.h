#pragma once

namespace tonovka {

struct AudioLibraries;

// Sends what SDL, FluidSynth, ALSA and the soundfont reader would print on stderr to lcSound at
// debug level instead: a missing sound card or a broken file is no news for the player, who hears
// it anyway. Call before SDL starts; calling again does no harm.
void routeAudioLibraryMessages(const AudioLibraries& lib);

} // namespace tonovka
