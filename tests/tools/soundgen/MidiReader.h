#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A small reader of standard MIDI files for the tests: it walks the chunks and events
// and keeps every event with its time in ticks from the start. It throws
// MidiReader::Malformed on anything that does not follow the file format.
namespace tonovka::test {

struct MidiEvent {
    std::uint32_t tick;
    std::uint8_t status;   // 0x80 to 0xEF for channel messages, 0xFF meta, 0xF0 or 0xF7 system exclusive
    std::uint8_t metaType; // for meta events only
    std::string data;      // the data bytes of a channel message, or the payload of the others

    int kind() const { return status & 0xF0; }
    int channel() const { return status & 0x0F; }
    bool isMeta(std::uint8_t type) const { return status == 0xFF && metaType == type; }
};

struct MidiSong {
    int format = 0;
    int declaredTrackCount = 0;
    int ticksPerQuarter = 0;
    std::vector<std::vector<MidiEvent>> tracks;
};

class MidiReader {
public:
    class Malformed : public std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    static MidiSong read(std::string_view bytes);

private:
    explicit MidiReader(std::string_view bytes);

    std::uint32_t bigEndian(int byteCount);
    std::uint32_t variableLength();
    std::uint8_t byte();
    std::string bytes(std::size_t count);
    std::vector<MidiEvent> track(std::size_t end);

    std::string_view m_bytes;
    std::size_t m_at = 0;
};

} // namespace tonovka::test
