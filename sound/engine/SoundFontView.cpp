#include "SoundFontView.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonovka {

namespace {

constexpr int DrumBank = 128;
// The SoundFont 2 generators that name an instrument (in a preset zone) and a sample.
constexpr int InstrumentGenerator = 41;
constexpr int SampleGenerator = 53;
// Everything before the sample data (the bank's description), and the preset data, are small.
constexpr off_t MaxHeadBytes = 1 << 20;
constexpr off_t MaxPresetDataBytes = 16 << 20;

int read16(const std::string& bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t read32(const char* b)
{
    const auto* u = reinterpret_cast<const unsigned char*>(b);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (std::uint32_t(u[3]) << 24);
}

void write16(std::string& bytes, std::size_t at, int value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char((value >> 8) & 0xFF);
}

void append16(std::string& bytes, std::size_t value)
{
    bytes.push_back(char(value & 0xFF));
    bytes.push_back(char((value >> 8) & 0xFF));
}

void append32(std::string& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(char((value >> shift) & 0xFF));
}

bool readFully(int fd, off_t at, void* buffer, std::size_t count)
{
    auto* to = static_cast<char*>(buffer);
    while (count > 0) {
        const ssize_t got = ::pread(fd, to, count, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        to += got;
        at += got;
        count -= std::size_t(got);
    }
    return true;
}

int openHeld(const std::string& path, off_t& size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        size = info.st_size;
        return fd;
    }
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// The nine record lists of the preset data, in the order the file holds them, and each list's
// record size. Each list ends with a closing record.
constexpr std::array<const char*, 9> ListNames{"phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr"};
constexpr std::array<std::size_t, 9> RecordSizes{38, 4, 10, 4, 22, 4, 10, 4, 46};
enum List {
    Presets,
    PresetZones,
    PresetMods,
    PresetGens,
    Instruments,
    InstrumentZones,
    InstrumentMods,
    InstrumentGens,
    Samples
};

using Lists = std::array<std::string, 9>;

std::size_t countOf(const Lists& lists, List list)
{
    return lists[list].size() / RecordSizes[list];
}

// Copies one preset's or instrument's zones, from (old) zone first to zone last, with their
// generators and modulators, to the end of the new lists. The generator link (an instrument or a
// sample) is renumbered by relink, which gives -1 for one out of range.
template <typename Relink>
bool copyZones(const Lists& from, Lists& to, List zones, int first, int last, int link, Relink relink)
{
    const auto gens = List(zones + 2);
    const auto mods = List(zones + 1);
    if (first > last || std::size_t(last) >= countOf(from, zones))
        return false;
    for (int zone = first; zone < last; ++zone) {
        const std::size_t at = std::size_t(zone) * 4;
        const int genFirst = read16(from[zones], at), genLast = read16(from[zones], at + 4);
        const int modFirst = read16(from[zones], at + 2), modLast = read16(from[zones], at + 6);
        if (genFirst > genLast || std::size_t(genLast) >= countOf(from, gens) || modFirst > modLast ||
            std::size_t(modLast) >= countOf(from, mods))
            return false;
        append16(to[zones], countOf(to, gens));
        append16(to[zones], countOf(to, mods));
        for (int gen = genFirst; gen < genLast; ++gen) {
            std::string record = from[gens].substr(std::size_t(gen) * 4, 4);
            if (read16(record, 0) == link) {
                const int renumbered = relink(read16(record, 2));
                if (renumbered < 0)
                    return false;
                write16(record, 2, renumbered);
            }
            to[gens] += record;
        }
        to[mods] += from[mods].substr(std::size_t(modFirst) * 10, std::size_t(modLast - modFirst) * 10);
    }
    return true;
}

// Closes the lists of presets or instruments and of their zones with their closing records.
void close(const Lists& from, Lists& to, List heads, std::size_t bagField)
{
    std::string closing = from[heads].substr(from[heads].size() - RecordSizes[heads]);
    write16(closing, bagField, int(countOf(to, List(heads + 1))));
    to[heads] += closing;
    append16(to[List(heads + 1)], countOf(to, List(heads + 3)));
    append16(to[List(heads + 1)], countOf(to, List(heads + 2)));
    to[List(heads + 2)].append(10, '\0');
    to[List(heads + 3)].append(4, '\0');
}

bool keepOnly(const Lists& from, Lists& to, const TuneInstruments& wanted)
{
    TuneInstruments kept = wanted;
    if (!kept.drumKits.empty())
        kept.drumKits.insert(0);    // FluidSynth's stand-in for a drum kit the soundfont lacks
    std::map<int, int> instruments; // old number to new
    std::vector<int> instrumentOrder;
    const int instrumentCount = int(countOf(from, Instruments)) - 1;
    const auto relinkInstrument = [&](int old) {
        if (old >= instrumentCount)
            return -1;
        const auto [found, added] = instruments.emplace(old, int(instrumentOrder.size()));
        if (added)
            instrumentOrder.push_back(old);
        return found->second;
    };
    for (std::size_t preset = 0; preset + 1 < countOf(from, Presets); ++preset) {
        const std::size_t at = preset * 38;
        const int program = read16(from[Presets], at + 20);
        const int bank = read16(from[Presets], at + 22);
        if (!(bank == DrumBank ? kept.drumKits : kept.programs).count(program))
            continue;
        std::string record = from[Presets].substr(at, 38);
        write16(record, 24, int(countOf(to, PresetZones)));
        to[Presets] += record;
        if (!copyZones(from, to, PresetZones, read16(from[Presets], at + 24), read16(from[Presets], at + 38 + 24),
                       InstrumentGenerator, relinkInstrument))
            return false;
    }
    close(from, to, Presets, 24);
    const int sampleCount = int(countOf(from, Samples)) - 1;
    for (const int instrument : instrumentOrder) {
        const std::size_t at = std::size_t(instrument) * 22;
        std::string record = from[Instruments].substr(at, 22);
        write16(record, 20, int(countOf(to, InstrumentZones)));
        to[Instruments] += record;
        if (!copyZones(from, to, InstrumentZones, read16(from[Instruments], at + 20),
                       read16(from[Instruments], at + 22 + 20), SampleGenerator,
                       [sampleCount](int sample) { return sample < sampleCount ? sample : -1; }))
            return false;
    }
    close(from, to, Instruments, 20);
    to[Samples] = from[Samples];
    return true;
}

bool readLists(const std::string& presetData, Lists& lists)
{
    std::size_t at = 0;
    for (std::size_t list = 0; list < lists.size(); ++list) {
        if (presetData.size() - at < 8 || presetData.compare(at, 4, ListNames[list]) != 0)
            return false;
        const std::size_t size = read32(presetData.data() + at + 4);
        if (size > presetData.size() - at - 8 || size % RecordSizes[list] != 0 || size == 0)
            return false;
        lists[list] = presetData.substr(at + 8, size);
        at += 8 + size;
    }
    return true;
}

std::string presetDataChunk(const Lists& lists)
{
    std::string chunk = "LIST    pdta";
    for (std::size_t list = 0; list < lists.size(); ++list) {
        chunk += ListNames[list];
        append32(chunk, std::uint32_t(lists[list].size()));
        chunk += lists[list];
    }
    std::string size;
    append32(size, std::uint32_t(chunk.size() - 8));
    chunk.replace(4, 4, size);
    return chunk;
}

} // namespace

SoundFontView::~SoundFontView()
{
    if (fd >= 0)
        ::close(fd);
}

bool SoundFontView::read(off_t at, void* buffer, std::size_t count) const
{
    if (at < 0 || off_t(count) > size() - at)
        return false;
    auto* to = static_cast<char*>(buffer);
    const auto fromMemory = [&](const std::string& bytes, off_t start) {
        const std::size_t n = std::min(count, bytes.size() - std::size_t(at - start));
        std::memcpy(to, bytes.data() + (at - start), n);
        to += n, at += off_t(n), count -= n;
    };
    if (count > 0 && at < off_t(head.size()))
        fromMemory(head, 0);
    const off_t bodyEnd = off_t(head.size()) + bodySize;
    if (count > 0 && at < bodyEnd) {
        const std::size_t n = std::min(count, std::size_t(bodyEnd - at));
        if (!readFully(fd, bodyAt + (at - off_t(head.size())), to, n))
            return false;
        to += n, at += off_t(n), count -= n;
    }
    if (count > 0)
        fromMemory(tail, bodyEnd);
    return true;
}

std::shared_ptr<const SoundFontView> wholeSoundFont(const std::string& path)
{
    auto view = std::make_shared<SoundFontView>();
    view->fd = openHeld(path, view->bodySize);
    return view->fd >= 0 ? view : nullptr;
}

std::shared_ptr<const SoundFontView> soundFontForTune(const std::string& path, const TuneInstruments& instruments)
{
    auto view = std::make_shared<SoundFontView>();
    off_t fileSize = 0;
    view->fd = openHeld(path, fileSize);
    char header[12];
    if (view->fd < 0 || fileSize < 12 || !readFully(view->fd, 0, header, 12) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "sfbk", 4) != 0)
        return nullptr;
    // The bank's chunks: its description, its sample data ("sdta") and its preset data ("pdta").
    const off_t end = std::min(fileSize, off_t(read32(header + 4)) + 8);
    off_t samplesAt = -1;
    std::string presetData;
    for (off_t at = 12; at + 12 <= end;) {
        char chunk[12];
        if (!readFully(view->fd, at, chunk, 12))
            return nullptr;
        const off_t size = read32(chunk + 4);
        if (size > end - at - 8)
            return nullptr;
        const bool list = std::memcmp(chunk, "LIST", 4) == 0;
        if (list && std::memcmp(chunk + 8, "sdta", 4) == 0 && samplesAt < 0) {
            samplesAt = at;
            view->bodySize = 8 + size + (size & 1);
        } else if (list && std::memcmp(chunk + 8, "pdta", 4) == 0 && samplesAt >= 0) {
            if (size > MaxPresetDataBytes)
                return nullptr;
            presetData.resize(std::size_t(size - 4));
            if (!readFully(view->fd, at + 12, presetData.data(), presetData.size()))
                return nullptr;
            break;
        }
        at += 8 + size + (size & 1);
    }
    Lists from;
    Lists to;
    if (samplesAt < 0 || samplesAt > MaxHeadBytes || presetData.empty() || !readLists(presetData, from) ||
        !keepOnly(from, to, instruments))
        return nullptr;
    view->head.resize(std::size_t(samplesAt));
    if (!readFully(view->fd, 0, view->head.data(), view->head.size()))
        return nullptr;
    view->bodyAt = samplesAt;
    view->tail = presetDataChunk(to);
    std::string riffSize;
    append32(riffSize, std::uint32_t(view->size() - 8));
    view->head.replace(4, 4, riffSize);
    return view;
}

} // namespace tonovka
