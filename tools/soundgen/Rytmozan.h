#pragma once

#include <cstdint>
#include <string>

namespace tonovka::soundgen {

// The main window's music: a bouncy tune in G major at 144 beats a minute, 36 bars of 4/4
// that last one minute. A square-wave lead carries the melody over piano off-beats,
// a finger bass and drums. The form is two bars of rhythm, the verse twice, a bridge
// around E minor with a four-on-the-floor beat, the verse again and a two-bar ending.
class Rytmozan {
public:
    static constexpr std::uint16_t ticksPerQuarter = 480;
    static constexpr std::uint32_t microsecondsPerQuarter = 416667; // 144 beats a minute

    // The whole standard MIDI file.
    std::string midiFile() const;
};

} // namespace tonovka::soundgen
