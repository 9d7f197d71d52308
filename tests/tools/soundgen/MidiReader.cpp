#include "MidiReader.h"

namespace tonovka::test {

MidiReader::MidiReader(std::string_view bytes) : m_bytes(bytes)
{
}

MidiSong MidiReader::read(std::string_view bytes)
{
    MidiReader reader(bytes);
    MidiSong song;
    if (reader.bytes(4) != "MThd" || reader.bigEndian(4) != 6)
        throw Malformed("no MThd header of six bytes");
    song.format = static_cast<int>(reader.bigEndian(2));
    song.declaredTrackCount = static_cast<int>(reader.bigEndian(2));
    const std::uint32_t division = reader.bigEndian(2);
    if (division & 0x8000u)
        throw Malformed("time code division instead of ticks per quarter");
    song.ticksPerQuarter = static_cast<int>(division);

    while (reader.m_at < bytes.size()) {
        if (reader.bytes(4) != "MTrk")
            throw Malformed("a chunk other than MTrk");
        const std::uint32_t length = reader.bigEndian(4);
        if (length > bytes.size() - reader.m_at)
            throw Malformed("a track runs past the end of the file");
        song.tracks.push_back(reader.track(reader.m_at + length));
    }
    return song;
}

std::vector<MidiEvent> MidiReader::track(std::size_t end)
{
    std::vector<MidiEvent> events;
    std::uint32_t tick = 0;
    std::uint8_t runningStatus = 0;
    while (m_at < end) {
        tick += variableLength();
        MidiEvent event{tick, byte(), 0, {}};
        if (event.status == 0xFF) {
            event.metaType = byte();
            event.data = bytes(variableLength());
        } else if (event.status == 0xF0 || event.status == 0xF7) {
            event.data = bytes(variableLength());
        } else {
            if (event.status < 0x80) {
                if (runningStatus == 0)
                    throw Malformed("running status with no status before it");
                --m_at;
                event.status = runningStatus;
            }
            runningStatus = event.status;
            const int kind = event.kind();
            event.data = bytes(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
            for (const char data : event.data) {
                if (static_cast<std::uint8_t>(data) > 0x7F)
                    throw Malformed("a data byte with its top bit set");
            }
        }
        events.push_back(event);
    }
    if (m_at != end)
        throw Malformed("the last event of a track runs past its chunk");
    return events;
}

std::uint32_t MidiReader::bigEndian(int byteCount)
{
    std::uint32_t value = 0;
    for (int i = 0; i < byteCount; ++i)
        value = (value << 8) | byte();
    return value;
}

std::uint32_t MidiReader::variableLength()
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t next = byte();
        value = (value << 7) | (next & 0x7Fu);
        if ((next & 0x80u) == 0)
            return value;
    }
    throw Malformed("a variable-length number longer than four bytes");
}

std::uint8_t MidiReader::byte()
{
    if (m_at >= m_bytes.size())
        throw Malformed("the file ends in the middle of something");
    return static_cast<std::uint8_t>(m_bytes[m_at++]);
}

std::string MidiReader::bytes(std::size_t count)
{
    if (count > m_bytes.size() - m_at)
        throw Malformed("the file ends in the middle of something");
    std::string result(m_bytes.substr(m_at, count));
    m_at += count;
    return result;
}

} // namespace tonovka::test
