#pragma once

#include <set>
#include <string_view>

namespace tonovka {

// The General MIDI programs that a tune plays: those of its melodic channels, and the drum kits
// of its drum channel (channel 10), which the soundfont keeps in bank 128.
struct TuneInstruments {
    std::set<int> programs;
    std::set<int> drumKits;

    bool operator==(const TuneInstruments&) const = default;
    // Whether every instrument of other is here too.
    bool holds(const TuneInstruments& other) const;
};

// Reads the program changes of a standard MIDI file whose chunks are whole (see readSoundFile).
// A channel that plays a note before its first program change plays program 0 (or drum kit 0).
// A track that breaks off mid-event ends there.
TuneInstruments instrumentsOfTune(std::string_view midi);

} // namespace tonovka
