#include "MidiTrack.h"

#include <algorithm>
#include <stdexcept>

namespace tonovka::soundgen {

namespace {

void appendVariableLength(std::string& out, std::uint32_t value)
{
    // Seven bits a byte, most significant first; every byte but the last has its top bit set.
    char groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<char>(value & 0x7Fu);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<char>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

void appendBigEndian(std::string& out, std::uint32_t value, int byteCount)
{
    for (int i = byteCount - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

void requireRange(int value, int low, int high, const char* what)
{
    if (value < low || value > high)
        throw std::out_of_range(what);
}

} // namespace

MidiTrack::MidiTrack(std::string_view name)
{
    std::string bytes{'\xFF', '\x03'};
    appendVariableLength(bytes, static_cast<std::uint32_t>(name.size()));
    bytes += name;
    m_events.push_back({0, Order::Setting, bytes});
}

void MidiTrack::addTempo(Tick at, std::uint32_t microsecondsPerQuarter)
{
    add(at, Order::Setting,
        {0xFF, 0x51, 0x03, static_cast<int>(microsecondsPerQuarter >> 16) & 0xFF,
         static_cast<int>(microsecondsPerQuarter >> 8) & 0xFF, static_cast<int>(microsecondsPerQuarter) & 0xFF});
}

void MidiTrack::addTimeSignature(Tick at, int numerator, int denominatorPowerOfTwo)
{
    // 24 clocks per metronome click and 8 thirty-seconds per quarter: the usual values.
    add(at, Order::Setting, {0xFF, 0x58, 0x04, numerator, denominatorPowerOfTwo, 24, 8});
}

void MidiTrack::addProgram(Tick at, int channel, int program)
{
    requireRange(channel, 0, 15, "MIDI channel");
    requireRange(program, 0, 127, "MIDI program");
    add(at, Order::Setting, {0xC0 | channel, program});
}

void MidiTrack::addController(Tick at, int channel, int controller, int value)
{
    requireRange(channel, 0, 15, "MIDI channel");
    requireRange(controller, 0, 127, "MIDI controller");
    requireRange(value, 0, 127, "MIDI controller value");
    add(at, Order::Setting, {0xB0 | channel, controller, value});
}

void MidiTrack::addNote(Tick at, Tick length, int channel, int key, int velocity)
{
    requireRange(channel, 0, 15, "MIDI channel");
    requireRange(key, 0, 127, "MIDI key");
    requireRange(velocity, 1, 127, "MIDI velocity");
    if (length == 0)
        throw std::invalid_argument("a note needs a length");
    add(at, Order::NoteOn, {0x90 | channel, key, velocity});
    add(at + length, Order::NoteOff, {0x80 | channel, key, 64});
}

std::string MidiTrack::chunk(Tick endAt) const
{
    std::vector<Event> events = m_events;
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.at != b.at ? a.at < b.at : a.order < b.order; });

    std::string body;
    Tick now = 0;
    for (const Event& event : events) {
        appendVariableLength(body, event.at - now);
        body += event.bytes;
        now = event.at;
    }
    appendVariableLength(body, std::max(endAt, now) - now);
    body += std::string{'\xFF', '\x2F', '\x00'};

    std::string out = "MTrk";
    appendBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    return out + body;
}

void MidiTrack::add(Tick at, Order order, std::initializer_list<int> bytes)
{
    std::string text;
    for (const int byte : bytes)
        text.push_back(static_cast<char>(byte));
    m_events.push_back({at, order, text});
}

} // namespace tonovka::soundgen
