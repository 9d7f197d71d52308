#pragma once

#include "AudioLibraries.h"
#include "SoundFontView.h"

#include <memory>

namespace tonovka {

// FluidSynth opens a soundfont by its name and reads it through callbacks that it is given.
// Here it is given views instead (SoundFontView.h): each view is held under a name of its own
// while the synthesizer reads it, and let go of once it has. The name is one that no file can
// have, so that FluidSynth's own loaders, which try the name when this one refuses it, never
// read a file that this program has not checked.

// Adds the loader of views to the synthesizer, ahead of FluidSynth's own.
void addSoundFontViewLoader(const AudioLibraries& lib, fluid_settings_t* settings, fluid_synth_t* synth);

// Loads the view into the synthesizer, which reads all of it now: its presets and every sample
// point. False when the view is null or FluidSynth refuses it.
bool loadSoundFontView(const AudioLibraries& lib, fluid_synth_t* synth, std::shared_ptr<const SoundFontView> view);

} // namespace tonovka
