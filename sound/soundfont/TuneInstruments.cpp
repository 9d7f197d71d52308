#include "TuneInstruments.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tonovka {

namespace {

constexpr int DrumChannel = 9;

std::uint32_t bigEndian32(const unsigned char* b)
{
    return (std::uint32_t(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
}

// The events of one track, from its first byte to end.
class TrackReader {
public:
    TrackReader(const unsigned char* at, const unsigned char* end) : m_at(at), m_end(end) {}

    // The instruments that each channel plays in this track.
    void read(TuneInstruments& instruments)
    {
        std::array<bool, 16> programmed{};
        int status = 0;
        while (m_at < m_end) {
            if (!skipNumber())
                return;
            if (m_at < m_end && *m_at >= 0x80)
                status = *m_at++;
            if (status == 0xFF) {
                if (!skipBytes(1) || !skipBytes(number()))
                    return;
            } else if (status == 0xF0 || status == 0xF7) {
                if (!skipBytes(number()))
                    return;
            } else if (status >= 0x80) {
                const int kind = status & 0xF0;
                const int channel = status & 0x0F;
                const int length = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
                if (m_end - m_at < length)
                    return;
                if (kind == 0xC0 || (kind == 0x90 && m_at[1] > 0 && !programmed[std::size_t(channel)])) {
                    const int program = kind == 0xC0 ? m_at[0] : 0;
                    (channel == DrumChannel ? instruments.drumKits : instruments.programs).insert(program);
                    programmed[std::size_t(channel)] = true;
                }
                m_at += length;
            } else {
                return; // data with no status before it
            }
        }
    }

private:
    bool skipNumber()
    {
        for (int i = 0; i < 4 && m_at < m_end; ++i) {
            if (*m_at++ < 0x80)
                return true;
        }
        return false;
    }

    // A variable-length number; -1 when it breaks off.
    std::int64_t number()
    {
        std::int64_t value = 0;
        for (int i = 0; i < 4 && m_at < m_end; ++i) {
            const int byte = *m_at++;
            value = (value << 7) | (byte & 0x7F);
            if (byte < 0x80)
                return value;
        }
        return -1;
    }

    bool skipBytes(std::int64_t count)
    {
        if (count < 0 || count > m_end - m_at)
            return false;
        m_at += count;
        return true;
    }

    const unsigned char* m_at;
    const unsigned char* m_end;
};

} // namespace

bool TuneInstruments::holds(const TuneInstruments& other) const
{
    return std::includes(programs.begin(), programs.end(), other.programs.begin(), other.programs.end()) &&
           std::includes(drumKits.begin(), drumKits.end(), other.drumKits.begin(), other.drumKits.end());
}

TuneInstruments instrumentsOfTune(std::string_view midi)
{
    TuneInstruments instruments;
    const auto* bytes = reinterpret_cast<const unsigned char*>(midi.data());
    const auto size = std::int64_t(midi.size());
    if (size < 14)
        return instruments;
    std::int64_t at = 8 + std::int64_t(bigEndian32(bytes + 4));
    while (at + 8 <= size) {
        const std::int64_t length = bigEndian32(bytes + at + 4);
        const std::int64_t end = std::min(size, at + 8 + length);
        if (std::equal(bytes + at, bytes + at + 4, "MTrk"))
            TrackReader(bytes + at + 8, bytes + end).read(instruments);
        at = end;
    }
    return instruments;
}

} // namespace tonovka
