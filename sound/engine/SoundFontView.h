#pragma once

#include "TuneInstruments.h"

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>

namespace tonovka {

// What FluidSynth sees as a soundfont file: bytes made in memory, then a stretch of the real
// file read through a descriptor held open, then bytes made in memory again. The descriptor keeps
// the file it opened even when the file is replaced by its name.
struct SoundFontView {
    ~SoundFontView();

    int fd = -1; // owned
    std::string head;
    off_t bodyAt = 0; // where the stretch lies in the real file
    off_t bodySize = 0;
    std::string tail;

    off_t size() const { return off_t(head.size()) + bodySize + off_t(tail.size()); }
    // Reads count bytes from at; false when they are not all there.
    bool read(off_t at, void* buffer, std::size_t count) const;
};

// The whole soundfont at path as it is; null when it cannot be opened.
std::shared_ptr<const SoundFontView> wholeSoundFont(const std::string& path);

// The soundfont at path with only the presets that the instruments name, the instruments that
// those presets play and, as they are, every sample and the sample data, which FluidSynth reads
// only for the notes that sound. The presets, instruments and zones that FluidSynth would
// otherwise keep for all 128 programs are what a whole General MIDI soundfont costs in memory.
// Null when the file is not a SoundFont 2 bank whose preset data holds together; a tune whose
// instruments the soundfont lacks gets the presets it has.
std::shared_ptr<const SoundFontView> soundFontForTune(const std::string& path, const TuneInstruments& instruments);

} // namespace tonovka
