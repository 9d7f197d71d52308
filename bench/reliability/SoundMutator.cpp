#include "SoundMutator.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tonovka::reliability {

namespace {

// SplitMix64: the same numbers on every compiler and library, unlike the distributions of <random>.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // 0 to bound - 1; 0 when bound is 0.
    qsizetype below(qsizetype bound) { return bound <= 0 ? 0 : qsizetype(next() % std::uint64_t(bound)); }
    // from to to, both included.
    qsizetype between(qsizetype from, qsizetype to) { return from + below(to - from + 1); }

    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& values)
    {
        return values[std::size_t(below(qsizetype(N)))];
    }

private:
    std::uint64_t m_state;
};

std::uint64_t mix(std::uint64_t seed, std::uint64_t index)
{
    Random random(seed ^ (index * 0xd1342543de82ef95ULL));
    return random.next();
}

// Where a chunk's length field lies and what it covers, as far as the file holds it.
struct Chunk {
    qsizetype lengthAt;
    qsizetype dataAt;
    qsizetype dataLength;
    bool container;                 // "RIFF" or "MThd"
    std::vector<qsizetype> parents; // the length fields of the chunks that hold this one
};

std::uint32_t read32(const QByteArray& bytes, qsizetype at, bool bigEndian)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
    if (bigEndian)
        return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | b[3];
    return (std::uint32_t(b[3]) << 24) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[1]) << 8) | b[0];
}

void write32(QByteArray& bytes, qsizetype at, std::uint32_t value, bool bigEndian)
{
    if (at < 0 || at + 4 > bytes.size())
        return;
    for (int i = 0; i < 4; ++i) {
        const int shift = bigEndian ? 24 - 8 * i : 8 * i;
        bytes[at + i] = char((value >> shift) & 0xff);
    }
}

void write16(QByteArray& bytes, qsizetype at, std::uint32_t value, bool bigEndian)
{
    if (at < 0 || at + 2 > bytes.size())
        return;
    bytes[at] = char(bigEndian ? (value >> 8) & 0xff : value & 0xff);
    bytes[at + 1] = char(bigEndian ? value & 0xff : (value >> 8) & 0xff);
}

bool bigEndianOf(SoundKind kind)
{
    return kind == SoundKind::Midi;
}

// The chunks as a reader would walk them, and in a soundfont those inside its lists too; it stops
// where the file ends or stops making sense.
std::vector<Chunk> chunksOf(const QByteArray& bytes, SoundKind kind)
{
    std::vector<Chunk> chunks;
    const qsizetype size = bytes.size();
    const bool big = bigEndianOf(kind);
    if (size < 8)
        return chunks;
    qsizetype at = 0;
    if (kind != SoundKind::Midi) {
        chunks.push_back({4, 8, size - 8, true, {}});
        at = 12;
    } else {
        const qsizetype header = read32(bytes, 4, big);
        chunks.push_back({4, 8, std::min(header, size - 8), true, {}});
        at = 8 + header;
    }
    const std::vector<qsizetype> inRiff =
        kind == SoundKind::Midi ? std::vector<qsizetype>{} : std::vector<qsizetype>{4};
    while (at >= 0 && at + 8 <= size && chunks.size() < 4096) {
        const qsizetype length = read32(bytes, at + 4, big);
        chunks.push_back({at + 4, at + 8, std::min(length, size - at - 8), false, inRiff});
        if (kind == SoundKind::SoundFont && bytes.mid(at, 4) == "LIST") {
            const qsizetype end = std::min(at + 8 + length, size);
            for (qsizetype inner = at + 12; inner + 8 <= end && chunks.size() < 4096;) {
                const qsizetype innerLength = read32(bytes, inner + 4, false);
                chunks.push_back({inner + 4, inner + 8, std::min(innerLength, size - inner - 8), false, {4, at + 4}});
                inner += 8 + innerLength + (innerLength & 1);
            }
        }
        at += 8 + length + (kind != SoundKind::Midi ? (length & 1) : 0);
    }
    return chunks;
}

QByteArray idOf(const QByteArray& bytes, const Chunk& chunk)
{
    return bytes.mid(chunk.lengthAt - 4, 4);
}

// A place to damage: anywhere, but in a soundfont outside its sample points seven times in eight.
qsizetype placeIn(const QByteArray& bytes, SoundKind kind, Random& random, qsizetype end)
{
    if (kind == SoundKind::SoundFont && random.below(8) != 0) {
        for (const Chunk& chunk : chunksOf(bytes, kind)) {
            if (idOf(bytes, chunk) != "smpl")
                continue;
            const qsizetype outside = end - std::min(chunk.dataLength, end - chunk.dataAt);
            const qsizetype at = random.below(outside);
            return at < chunk.dataAt ? at : at + std::min(chunk.dataLength, end - chunk.dataAt);
        }
    }
    return random.below(end);
}

// The size of a record in a soundfont's preset data list, or 0 for another chunk.
qsizetype recordSizeOf(const QByteArray& id)
{
    static const std::array<std::pair<const char*, qsizetype>, 9> sizes = {
        std::pair{"phdr", 38}, std::pair{"pbag", 4},  std::pair{"pmod", 10},
        std::pair{"pgen", 4},  std::pair{"inst", 22}, std::pair{"ibag", 4},
        std::pair{"imod", 10}, std::pair{"igen", 4},  std::pair{"shdr", 46}};
    for (const auto& [name, size] : sizes) {
        if (id == name)
            return size;
    }
    return 0;
}

// Events that MIDI readers find hard: lengths that run far past the track, a tempo of 0, an end
// of track in the middle, a status byte with no data, numbers encoded in too many bytes.
const std::array<QByteArray, 18> kMidiEvents = {
    QByteArray::fromHex("ff018fffffff7f41"), // text meta event whose length is 2^28 - 1
    QByteArray::fromHex("ff5103000000"),     // tempo 0
    QByteArray::fromHex("ff5103ffffff"),     // slowest tempo
    QByteArray::fromHex("ff2f00"),           // end of track, early
    QByteArray::fromHex("f08fffffff7f"),     // system exclusive of length 2^28 - 1
    QByteArray::fromHex("f705010203047f"),   // escaped system exclusive
    QByteArray::fromHex("4040"),             // running status with no status before it
    QByteArray::fromHex("8fffffff7f90407f"), // the longest delta time, then a note on
    QByteArray::fromHex("ffffffffffffff00"), // a number that never ends
    QByteArray::fromHex("994000"),           // note on with velocity 0 on the drum channel
    QByteArray::fromHex("c07f"),             // program change
    QByteArray::fromHex("e07f7f"),           // pitch bend
    QByteArray::fromHex("ff7f00"),           // sequencer-specific meta event with no data
    QByteArray::fromHex("ff5804ff0018ff"),   // time signature with absurd fields
    QByteArray::fromHex("ff590280ff"),       // key signature out of range
    QByteArray::fromHex("ff5405ff3c3c3c3c"), // SMPTE offset out of range
    QByteArray::fromHex("90"),               // a status byte alone
    QByteArray::fromHex("b0797f"),           // reset all controllers
};

const std::array<std::uint32_t, 8> kHugeLengths = {0xffffffffU, 0xfffffffeU, 0x7fffffffU, 0x80000000U,
                                                   0x7ffffff8U, 0x10000000U, 0x00ffffffU, 0x8000U};
const std::array<std::uint32_t, 16> kEdge16 = {0,    1,  2,  3,  6,   7,      8,      0x11,
                                               0x55, 24, 32, 64, 255, 0x7fff, 0x8000, 0xffff};
const std::array<std::uint32_t, 10> kEdge32 = {0,           1,           8000,        22050,    384000,
                                               0x7fffffffU, 0x80000000U, 0xffffffffU, 0x10000U, 0xfffeU};
const std::array<std::uint32_t, 8> kDivisions = {0, 1, 0x7fff, 0x8000, 0xe250, 0xe700, 0xff01, 0xffff};

void bitFlips(QByteArray& bytes, SoundKind kind, Random& random)
{
    if (bytes.isEmpty())
        return;
    for (qsizetype n = random.between(1, 8); n > 0; --n) {
        const qsizetype at = placeIn(bytes, kind, random, bytes.size());
        bytes[at] = char(quint8(bytes[at]) ^ (1u << random.below(8)));
    }
}

void byteChanges(QByteArray& bytes, SoundKind kind, Random& random)
{
    static const std::array<int, 5> values = {0x00, 0xff, 0x7f, 0x80, -1};
    if (bytes.isEmpty())
        return;
    for (qsizetype n = random.between(1, 16); n > 0; --n) {
        const int value = random.pick(values);
        bytes[placeIn(bytes, kind, random, bytes.size())] = char(value < 0 ? random.below(256) : value);
    }
}

void setChunkLength(QByteArray& bytes, SoundKind kind, Random& random, Mutation mutation)
{
    const std::vector<Chunk> chunks = chunksOf(bytes, kind);
    if (chunks.empty())
        return;
    const Chunk& chunk = chunks[std::size_t(random.below(qsizetype(chunks.size())))];
    const bool big = bigEndianOf(kind);
    std::uint32_t value = 0;
    if (mutation == Mutation::ChunkLengthHuge)
        value = random.below(4) == 0 ? std::uint32_t(bytes.size() + 1) : random.pick(kHugeLengths);
    else if (mutation == Mutation::ChunkLengthNear)
        value = read32(bytes, chunk.lengthAt, big) + std::uint32_t(random.between(-16, 16));
    write32(bytes, chunk.lengthAt, value, big);
}

// A 16-bit field of a record of a soundfont's preset data, or one of a sample's 32-bit bounds.
void presetDataField(QByteArray& bytes, Random& random)
{
    std::vector<Chunk> lists = chunksOf(bytes, SoundKind::SoundFont);
    std::erase_if(lists, [&bytes](const Chunk& chunk) { return recordSizeOf(idOf(bytes, chunk)) == 0; });
    if (lists.empty())
        return;
    const Chunk& list = lists[std::size_t(random.below(qsizetype(lists.size())))];
    const qsizetype size = recordSizeOf(idOf(bytes, list));
    const qsizetype record = list.dataAt + size * random.below(list.dataLength / size);
    if (size == 46 && random.below(2) == 0) {
        write32(bytes, record + 20 + 4 * random.below(4),
                random.below(5) == 0 ? std::uint32_t(random.next()) : random.pick(kEdge32), false);
        return;
    }
    write16(bytes, record + 2 * random.below(size / 2),
            random.below(5) == 0 ? std::uint32_t(random.below(0x10000)) : random.pick(kEdge16), false);
}

void headerField(QByteArray& bytes, SoundKind kind, Random& random)
{
    if (kind == SoundKind::SoundFont) {
        presetDataField(bytes, random);
        return;
    }
    if (kind == SoundKind::Midi) {
        const qsizetype field = random.below(3);
        const std::uint32_t value = field == 2 && random.below(2) ? random.pick(kDivisions)
                                    : random.below(5) == 0        ? std::uint32_t(random.below(0x10000))
                                                                  : random.pick(kEdge16);
        write16(bytes, 8 + 2 * field, value, true);
        return;
    }
    for (const Chunk& chunk : chunksOf(bytes, kind)) {
        if (chunk.container || bytes.mid(chunk.lengthAt - 4, 4) != "fmt ")
            continue;
        // format, channels, rate, bytes a second, block, bits
        static const std::array<std::pair<int, int>, 6> fields = {std::pair{0, 2}, std::pair{2, 2},  std::pair{4, 4},
                                                                  std::pair{8, 4}, std::pair{12, 2}, std::pair{14, 2}};
        const auto [offset, width] = random.pick(fields);
        if (width == 2)
            write16(bytes, chunk.dataAt + offset,
                    random.below(5) == 0 ? std::uint32_t(random.below(0x10000)) : random.pick(kEdge16), false);
        else
            write32(bytes, chunk.dataAt + offset,
                    random.below(5) == 0 ? std::uint32_t(random.next()) : random.pick(kEdge32), false);
        return;
    }
}

QByteArray randomBytes(Random& random, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(random.below(256));
    return bytes;
}

void insertBytes(QByteArray& bytes, SoundKind kind, Random& random)
{
    bytes.insert(placeIn(bytes, kind, random, bytes.size() + 1), randomBytes(random, random.between(1, 64)));
}

void removeBytes(QByteArray& bytes, SoundKind kind, Random& random)
{
    if (bytes.isEmpty())
        return;
    const qsizetype at = placeIn(bytes, kind, random, bytes.size());
    bytes.remove(at, std::min(random.between(1, 64), bytes.size() - at));
}

// Changes a chunk's contents and fixes up its length and those of the chunks that hold it, so
// that the damage lies inside a file whose chunks still add up.
void changeInChunk(QByteArray& bytes, SoundKind kind, Random& random, bool insert)
{
    std::vector<Chunk> chunks = chunksOf(bytes, kind);
    std::erase_if(chunks, [](const Chunk& chunk) { return chunk.container; });
    if (chunks.empty())
        return;
    const Chunk chunk = chunks[std::size_t(random.below(qsizetype(chunks.size())))];
    const bool big = bigEndianOf(kind);
    const qsizetype recordSize = kind == SoundKind::SoundFont ? recordSizeOf(idOf(bytes, chunk)) : 0;
    qsizetype change = 0;
    if (insert) {
        QByteArray inserted;
        qsizetype at = chunk.dataAt + random.below(chunk.dataLength + 1);
        if (kind == SoundKind::Midi && random.below(4) != 0) {
            inserted = random.pick(kMidiEvents);
        } else if (recordSize > 0 && chunk.dataLength >= recordSize && random.below(2) == 0) {
            // A copy of one of the list's records, between two others.
            const qsizetype count = chunk.dataLength / recordSize;
            inserted = bytes.mid(chunk.dataAt + recordSize * random.below(count), recordSize);
            at = chunk.dataAt + recordSize * random.below(count + 1);
        } else {
            inserted = randomBytes(random, random.between(1, 64));
        }
        bytes.insert(at, inserted);
        change = inserted.size();
    } else {
        if (chunk.dataLength == 0)
            return;
        const qsizetype at = chunk.dataAt + random.below(chunk.dataLength);
        change = -std::min(random.between(1, 64), chunk.dataAt + chunk.dataLength - at);
        bytes.remove(at, -change);
    }
    write32(bytes, chunk.lengthAt, std::uint32_t(read32(bytes, chunk.lengthAt, big) + change), big);
    for (const qsizetype parent : chunk.parents)
        write32(bytes, parent, std::uint32_t(read32(bytes, parent, false) + change), false);
}

void chunkId(QByteArray& bytes, SoundKind kind, Random& random)
{
    static const std::array<const char*, 26> names = {
        "RIFF", "RIFX", "WAVE", "AVI ", "fmt ", "data", "LIST", "fact", "MThd", "MTrk", "XFIR", "sfbk", "INFO",
        "sdta", "pdta", "smpl", "sm24", "phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr"};
    std::vector<qsizetype> places;
    for (const Chunk& chunk : chunksOf(bytes, kind))
        places.push_back(chunk.lengthAt - 4);
    if (kind != SoundKind::Midi && bytes.size() >= 12)
        places.push_back(8);
    // The names of a soundfont's lists.
    if (kind == SoundKind::SoundFont) {
        for (const Chunk& chunk : chunksOf(bytes, kind)) {
            if (idOf(bytes, chunk) == "LIST" && chunk.dataLength >= 4)
                places.push_back(chunk.dataAt);
        }
    }
    if (places.empty())
        return;
    const qsizetype at = places[std::size_t(random.below(qsizetype(places.size())))];
    const QByteArray name = random.below(4) == 0 ? randomBytes(random, 4) : QByteArray(random.pick(names), 4);
    bytes.replace(at, 4, name);
}

void apply(QByteArray& bytes, SoundKind kind, Mutation mutation, Random& random)
{
    switch (mutation) {
    case Mutation::BitFlips:
        bitFlips(bytes, kind, random);
        break;
    case Mutation::ByteChanges:
        byteChanges(bytes, kind, random);
        break;
    case Mutation::Truncation:
        bytes.truncate(random.below(bytes.size()));
        break;
    case Mutation::ChunkLengthHuge:
    case Mutation::ChunkLengthZero:
    case Mutation::ChunkLengthNear:
        setChunkLength(bytes, kind, random, mutation);
        break;
    case Mutation::HeaderField:
        headerField(bytes, kind, random);
        break;
    case Mutation::InsertBytes:
        insertBytes(bytes, kind, random);
        break;
    case Mutation::RemoveBytes:
        removeBytes(bytes, kind, random);
        break;
    case Mutation::InsertInChunk:
        changeInChunk(bytes, kind, random, true);
        break;
    case Mutation::RemoveInChunk:
        changeInChunk(bytes, kind, random, false);
        break;
    case Mutation::ChunkId:
        chunkId(bytes, kind, random);
        break;
    case Mutation::Stacked:
        for (qsizetype n = random.between(2, 4); n > 0; --n) {
            // A cut-off file stays cut off, so a truncation comes only last.
            Mutation next = Mutation(random.below(qsizetype(Mutation::Stacked)));
            if (next == Mutation::Truncation && n > 1)
                next = Mutation::BitFlips;
            apply(bytes, kind, next, random);
        }
        break;
    case Mutation::Count:
        break;
    }
}

} // namespace

const char* mutationName(Mutation mutation)
{
    switch (mutation) {
    case Mutation::BitFlips:
        return "bit-flips";
    case Mutation::ByteChanges:
        return "byte-changes";
    case Mutation::Truncation:
        return "truncation";
    case Mutation::ChunkLengthHuge:
        return "chunk-length-huge";
    case Mutation::ChunkLengthZero:
        return "chunk-length-zero";
    case Mutation::ChunkLengthNear:
        return "chunk-length-near";
    case Mutation::HeaderField:
        return "header-field";
    case Mutation::InsertBytes:
        return "insert-bytes";
    case Mutation::RemoveBytes:
        return "remove-bytes";
    case Mutation::InsertInChunk:
        return "insert-in-chunk";
    case Mutation::RemoveInChunk:
        return "remove-in-chunk";
    case Mutation::ChunkId:
        return "chunk-id";
    case Mutation::Stacked:
        return "stacked";
    case Mutation::Count:
        break;
    }
    return "?";
}

SoundMutator::SoundMutator(QByteArray wave, QByteArray midi, QByteArray soundFont, std::uint64_t seed)
    : m_wave(std::move(wave)), m_midi(std::move(midi)), m_soundFont(std::move(soundFont)), m_seed(seed)
{
}

SoundKind SoundMutator::kindOf(std::uint64_t index, Kinds kinds)
{
    switch (kinds) {
    case Kinds::WaveOnly:
        return SoundKind::Wave;
    case Kinds::MidiOnly:
        return SoundKind::Midi;
    case Kinds::SoundFontOnly:
        return SoundKind::SoundFont;
    case Kinds::All:
        break;
    }
    return std::array{SoundKind::Wave, SoundKind::Midi, SoundKind::SoundFont}[index % 3];
}

MutatedFile SoundMutator::make(std::uint64_t index, Kinds kinds) const
{
    const SoundKind kind = kindOf(index, kinds);
    const QByteArray& original = kind == SoundKind::Wave ? m_wave : kind == SoundKind::Midi ? m_midi : m_soundFont;
    MutatedFile file{kind, Mutation::BitFlips, {}};
    file.bytes = mutate(original, kind, mix(m_seed, index), &file.mutation);
    return file;
}

QByteArray SoundMutator::mutate(const QByteArray& bytes, SoundKind kind, std::uint64_t seed, Mutation* applied)
{
    Random random(seed);
    const auto mutation = Mutation(random.below(qsizetype(Mutation::Count)));
    QByteArray copy = bytes;
    copy.detach();
    apply(copy, kind, mutation, random);
    if (applied)
        *applied = mutation;
    return copy;
}

} // namespace tonovka::reliability
