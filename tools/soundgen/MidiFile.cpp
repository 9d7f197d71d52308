#include "MidiFile.h"

namespace tonovka::soundgen {

std::string encodeMidiFile(std::uint16_t ticksPerQuarter, const std::vector<MidiTrack>& tracks, MidiTrack::Tick endAt)
{
    const auto trackCount = static_cast<std::uint16_t>(tracks.size());
    std::string out = "MThd";
    out += std::string{'\0', '\0', '\0', '\6', '\0', '\1'}; // six bytes follow; format 1
    out.push_back(static_cast<char>(trackCount >> 8));
    out.push_back(static_cast<char>(trackCount & 0xFF));
    out.push_back(static_cast<char>(ticksPerQuarter >> 8));
    out.push_back(static_cast<char>(ticksPerQuarter & 0xFF));
    for (const MidiTrack& track : tracks)
        out += track.chunk(endAt);
    return out;
}

} // namespace tonovka::soundgen
