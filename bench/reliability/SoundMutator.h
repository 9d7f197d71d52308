#pragma once

// Damaged copies of a WAV or MIDI file, for the robustness runs of the sound-file checks and the
// audio loaders. Copy number i of a run with a given seed is always the same bytes, so a copy
// that caused trouble can be made again from its seed and number alone.

#include <QByteArray>

#include <cstdint>
#include <string>

namespace tonovka::reliability {

enum class SoundKind { Wave, Midi };

// The kinds of damage. A stacked copy has two to four of the others, one after another.
enum class Mutation {
    BitFlips,        // 1 to 8 bits flipped anywhere
    ByteChanges,     // 1 to 16 bytes set to 0, 0xff, 0x7f, 0x80 or anything
    Truncation,      // cut off at any length, the header included
    ChunkLengthHuge, // a chunk's length field (the RIFF or MThd one too) set near 2^32 or 2^31
    ChunkLengthZero, // a chunk's length field set to 0
    ChunkLengthNear, // a chunk's length field moved by -16 to +16
    HeaderField,     // a field of the WAV "fmt " chunk or of the MIDI header set to an edge value
    InsertBytes,     // 1 to 64 bytes inserted anywhere
    RemoveBytes,     // 1 to 64 bytes removed anywhere
    InsertInChunk,   // bytes (for MIDI, often an event) inserted into a chunk, its length fixed up
    RemoveInChunk,   // bytes removed from a chunk, its length fixed up
    ChunkId,         // a chunk's name (or "RIFF", "WAVE", "MThd") changed to another or to noise
    Stacked,
    Count
};

const char* mutationName(Mutation mutation);

struct MutatedFile {
    SoundKind kind;
    Mutation mutation;
    QByteArray bytes;
};

// Copy number index of a run: even numbers are WAV files and odd ones MIDI files when both kinds
// are asked for.
class SoundMutator {
public:
    SoundMutator(QByteArray wave, QByteArray midi, std::uint64_t seed);

    enum class Kinds { Both, WaveOnly, MidiOnly };
    MutatedFile make(std::uint64_t index, Kinds kinds) const;

    // For a fuzzer that brings its own randomness: one mutation of these bytes, driven by seed.
    static QByteArray mutate(const QByteArray& bytes, SoundKind kind, std::uint64_t seed, Mutation* applied = nullptr);

private:
    QByteArray m_wave;
    QByteArray m_midi;
    std::uint64_t m_seed;
};

} // namespace tonovka::reliability
