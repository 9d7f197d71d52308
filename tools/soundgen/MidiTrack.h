#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tonovka::soundgen {

// One track of a standard MIDI file: timed events, written out as an "MTrk" chunk.
// Times are in ticks from the start of the song. Events may be added in any order;
// at equal times note-offs go first, so that a note struck again on the same key
// is not cut off by the end of the one before it.
class MidiTrack {
public:
    using Tick = std::uint32_t;

    explicit MidiTrack(std::string_view name);

    void addTempo(Tick at, std::uint32_t microsecondsPerQuarter);
    void addTimeSignature(Tick at, int numerator, int denominatorPowerOfTwo);
    void addProgram(Tick at, int channel, int program);
    void addController(Tick at, int channel, int controller, int value);
    void addNote(Tick at, Tick length, int channel, int key, int velocity);

    // The chunk, closed by an end-of-track event at endAt or at the last event,
    // whichever is later.
    std::string chunk(Tick endAt) const;

private:
    enum class Order { NoteOff, Setting, NoteOn };

    struct Event {
        Tick at;
        Order order;
        std::string bytes;
    };

    void add(Tick at, Order order, std::initializer_list<int> bytes);

    std::vector<Event> m_events;
};

} // namespace tonovka::soundgen
