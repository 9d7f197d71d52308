#pragma once

#include <array>
#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace tonovka {

// The preset data of a SoundFont 2 bank ("pdta"): nine lists of fixed-size records, in the order
// the file holds them, each closed by a record of its own.
class PresetData {
public:
    enum List {
        Presets,
        PresetZones,
        PresetMods,
        PresetGens,
        Instruments,
        InstrumentZones,
        InstrumentMods,
        InstrumentGens,
        Samples
    };
    static constexpr std::size_t SampleRecordBytes = 46;

    // Reads the lists from the chunk's contents after "pdta"; false when they do not add up to it.
    bool read(const std::string& contents);
    // The whole chunk, "LIST" and its size included.
    std::string chunk() const;

    // The number of records of a list, its closing record included.
    std::size_t count(List list) const;
    const std::string& records(List list) const { return m_lists[list]; }
    std::string& records(List list) { return m_lists[list]; }

    // The presets of the General MIDI programs and drum kits, and FluidSynth's stand-ins for
    // those that the bank lacks, with their zones and the instruments that those name, renumbered
    // into to; samples receives the (old) numbers of the samples that the kept instruments play, in
    // their new order, and to's sample list is left empty. False when the preset data points
    // outside its lists, or when the kept lists outgrow their 16-bit indices.
    bool keepOnly(std::set<int> programs, std::set<int> drumKits, PresetData& to, std::vector<int>& samples) const;

private:
    template <typename Relink>
    bool copyZones(PresetData& to, List zones, int first, int last, int linkGenerator, Relink relink) const;
    void appendClosingRecords(List heads, std::size_t zoneIndexAt, const PresetData& from);

    std::array<std::string, 9> m_lists;
};

} // namespace tonovka
