#pragma once

#include "SoundFontView.h"
#include "TuneInstruments.h"

#include <filesystem>
#include <memory>

namespace tonovka {

// The soundfont at path with only the presets that the instruments name (and FluidSynth's
// stand-ins for those it lacks), the instruments that those presets play, and the samples and
// sample data of those instruments, read from the file as they lie there. A whole General MIDI
// soundfont is what FluidSynth would otherwise hold in memory: all 128 programs and every sample.
// Null when the file is not a SoundFont 2 bank of 16-bit samples whose chunks, preset data and
// sample headers hold together, or that this bank cannot hold; the whole file is then the one to
// use.
std::shared_ptr<const SoundFontView> soundFontForTune(const std::filesystem::path& path,
                                                      const TuneInstruments& instruments);

} // namespace tonovka
