#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MidiTrack.h"

namespace tonovka::soundgen {

// A standard MIDI file of format 1: the "MThd" header, then every track in order,
// each closed at endAt. The first track is by custom the one with the tempo.
std::string encodeMidiFile(std::uint16_t ticksPerQuarter, const std::vector<MidiTrack>& tracks, MidiTrack::Tick endAt);

} // namespace tonovka::soundgen
