#pragma once

// Damaged copies of a WAV, MIDI or SoundFont 2 file, for the robustness runs of the sound-file
// checks, the soundfont's reader and the audio loaders. Copy number i of a run with a given seed is always the same
// bytes, so a copy that caused trouble can be made again from its seed and number alone.

#include <QByteArray>

#include <cstdint>
#include <string>

namespace tonovka::reliability {

enum class SoundKind { Wave, Midi, SoundFont };

// The kinds of damage. A stacked copy has two to four of the others, one after another. In a
// soundfont, whose sample points are nearly all of it, damage at a random place lands outside the
// points seven times in eight.
enum class Mutation {
    BitFlips,        // 1 to 8 bits flipped anywhere
    ByteChanges,     // 1 to 16 bytes set to 0, 0xff, 0x7f, 0x80 or anything
    Truncation,      // cut off at any length, the header included
    ChunkLengthHuge, // a chunk's length field (the RIFF or MThd one too, and those inside a soundfont's
                     // lists) set near 2^32 or 2^31
    ChunkLengthZero, // a chunk's length field set to 0
    ChunkLengthNear, // a chunk's length field moved by -16 to +16
    HeaderField,     // a field of the WAV "fmt " chunk, of the MIDI header or of a record of a soundfont's
                     // preset data (an index, a generator, a sample's bounds) set to an edge value
    InsertBytes,     // 1 to 64 bytes inserted anywhere
    RemoveBytes,     // 1 to 64 bytes removed anywhere
    InsertInChunk,   // bytes (for MIDI, often an event; for a soundfont, often a copy of a record)
                     // inserted into a chunk, its length and those of the chunks around it fixed up
    RemoveInChunk,   // bytes removed from a chunk, its length and those around it fixed up
    ChunkId,         // a chunk's name (or "RIFF", "WAVE", "sfbk", "MThd") changed to another or to noise
    Stacked,
    Count
};

const char* mutationName(Mutation mutation);

struct MutatedFile {
    SoundKind kind;
    Mutation mutation;
    QByteArray bytes;
};

// Copy number index of a run: when every kind is asked for, a WAV file where index % 3 is 0, a
// MIDI file where it is 1 and a soundfont where it is 2.
class SoundMutator {
public:
    SoundMutator(QByteArray wave, QByteArray midi, QByteArray soundFont, std::uint64_t seed);

    enum class Kinds { All, WaveOnly, MidiOnly, SoundFontOnly };
    MutatedFile make(std::uint64_t index, Kinds kinds) const;
    static SoundKind kindOf(std::uint64_t index, Kinds kinds);

    // For a fuzzer that brings its own randomness: one mutation of these bytes, driven by seed.
    static QByteArray mutate(const QByteArray& bytes, SoundKind kind, std::uint64_t seed, Mutation* applied = nullptr);

private:
    QByteArray m_wave;
    QByteArray m_midi;
    QByteArray m_soundFont;
    std::uint64_t m_seed;
};

} // namespace tonovka::reliability
