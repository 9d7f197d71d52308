#include "PresetData.h"

#include "LittleEndian.h"

#include <algorithm>
#include <map>

namespace tonovka {

namespace {

constexpr std::array<const char*, 9> ListNames{"phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr"};
constexpr std::array<std::size_t, 9> RecordSizes{38, 4, 10, 4, 22, 4, 10, 4, PresetData::SampleRecordBytes};
constexpr int DrumBank = 128;
// The SoundFont 2 generators that name an instrument (in a preset zone) and a sample.
constexpr int InstrumentGenerator = 41;
constexpr int SampleGenerator = 53;
// The zones, generators and modulators are numbered in 16 bits.
constexpr std::size_t MaxRecords = 0xFFFF;

int read16(const std::string& bytes, std::size_t at)
{
    return readLittle16(bytes.data() + at);
}

} // namespace

bool PresetData::read(const std::string& contents)
{
    std::size_t at = 0;
    for (std::size_t list = 0; list < m_lists.size(); ++list) {
        if (contents.size() - at < 8 || contents.compare(at, 4, ListNames[list]) != 0)
            return false;
        const std::size_t size = readLittle32(contents.data() + at + 4);
        if (size > contents.size() - at - 8 || size % RecordSizes[list] != 0 || size == 0)
            return false;
        m_lists[list] = contents.substr(at + 8, size);
        at += 8 + size;
    }
    return true;
}

std::string PresetData::chunk() const
{
    std::string chunk = "LIST    pdta";
    for (std::size_t list = 0; list < m_lists.size(); ++list) {
        chunk += ListNames[list];
        chunk.append(4, '\0');
        writeLittle32(chunk, chunk.size() - 4, std::uint32_t(m_lists[list].size()));
        chunk += m_lists[list];
    }
    writeLittle32(chunk, 4, std::uint32_t(chunk.size() - 8));
    return chunk;
}

std::size_t PresetData::count(List list) const
{
    return m_lists[list].size() / RecordSizes[list];
}

// Copies one preset's or instrument's zones, from (old) zone first to zone last, with their
// generators and modulators, to the end of to's lists. The generator linkGenerator, which names an
// instrument or a sample, has its number renumbered by relink, which gives -1 for one out of range.
template <typename Relink>
bool PresetData::copyZones(PresetData& to, List zones, int first, int last, int linkGenerator, Relink relink) const
{
    const auto gens = List(zones + 2);
    const auto mods = List(zones + 1);
    if (first > last || std::size_t(last) >= count(zones))
        return false;
    for (int zone = first; zone < last; ++zone) {
        const std::size_t at = std::size_t(zone) * 4;
        const int genFirst = read16(m_lists[zones], at), genLast = read16(m_lists[zones], at + 4);
        const int modFirst = read16(m_lists[zones], at + 2), modLast = read16(m_lists[zones], at + 6);
        if (genFirst > genLast || std::size_t(genLast) >= count(gens) || modFirst > modLast ||
            std::size_t(modLast) >= count(mods))
            return false;
        appendLittle16(to.m_lists[zones], to.count(gens));
        appendLittle16(to.m_lists[zones], to.count(mods));
        for (int gen = genFirst; gen < genLast; ++gen) {
            std::string record = m_lists[gens].substr(std::size_t(gen) * 4, 4);
            if (read16(record, 0) == linkGenerator) {
                const int renumbered = relink(read16(record, 2));
                if (renumbered < 0)
                    return false;
                writeLittle16(record, 2, renumbered);
            }
            to.m_lists[gens] += record;
        }
        to.m_lists[mods] += m_lists[mods].substr(std::size_t(modFirst) * 10, std::size_t(modLast - modFirst) * 10);
        if (to.count(zones) >= MaxRecords || to.count(gens) >= MaxRecords || to.count(mods) >= MaxRecords)
            return false;
    }
    return true;
}

// Closes the lists of presets or instruments (heads), of their zones, modulators and generators
// with a record each: from's closing head record, whose zone index at zoneIndexAt is this data's
// count of zones, a zone that starts past the last generator and modulator, and empty ones.
void PresetData::appendClosingRecords(List heads, std::size_t zoneIndexAt, const PresetData& from)
{
    const auto zones = List(heads + 1);
    std::string closing = from.m_lists[heads].substr(from.m_lists[heads].size() - RecordSizes[heads]);
    writeLittle16(closing, zoneIndexAt, int(count(zones)));
    m_lists[heads] += closing;
    appendLittle16(m_lists[zones], count(List(heads + 3)));
    appendLittle16(m_lists[zones], count(List(heads + 2)));
    m_lists[heads + 2].append(10, '\0');
    m_lists[heads + 3].append(4, '\0');
}

bool PresetData::keepOnly(std::set<int> programs, std::set<int> drumKits, PresetData& to,
                          std::vector<int>& samples) const
{
    const std::size_t presetCount = count(Presets) - 1;
    const auto programOf = [this](std::size_t preset) { return read16(m_lists[Presets], preset * 38 + 20); };
    const auto bankOf = [this](std::size_t preset) { return read16(m_lists[Presets], preset * 38 + 22); };
    // FluidSynth's stand-ins for an instrument that the bank lacks: drum kit 0, and for a melodic
    // program the same one in bank 0, else program 0 of bank 0.
    if (!drumKits.empty())
        drumKits.insert(0);
    std::set<int> inBankZero;
    for (std::size_t preset = 0; preset < presetCount; ++preset) {
        if (bankOf(preset) == 0)
            inBankZero.insert(programOf(preset));
    }
    if (std::any_of(programs.begin(), programs.end(), [&](int program) { return !inBankZero.count(program); }))
        programs.insert(0);

    std::map<int, int> instruments; // old number to new
    std::vector<int> instrumentOrder;
    const int instrumentCount = int(count(Instruments)) - 1;
    const auto relinkInstrument = [&](int old) {
        if (old >= instrumentCount)
            return -1;
        const auto [found, added] = instruments.emplace(old, int(instrumentOrder.size()));
        if (added)
            instrumentOrder.push_back(old);
        return found->second;
    };
    for (std::size_t preset = 0; preset < presetCount; ++preset) {
        if (!(bankOf(preset) == DrumBank ? drumKits : programs).count(programOf(preset)))
            continue;
        const std::size_t at = preset * 38;
        std::string record = m_lists[Presets].substr(at, 38);
        writeLittle16(record, 24, int(to.count(PresetZones)));
        to.m_lists[Presets] += record;
        if (!copyZones(to, PresetZones, read16(m_lists[Presets], at + 24), read16(m_lists[Presets], at + 38 + 24),
                       InstrumentGenerator, relinkInstrument))
            return false;
    }
    to.appendClosingRecords(Presets, 24, *this);

    std::map<int, int> sampleNumbers; // old number to new
    samples.clear();
    const int sampleCount = int(count(Samples)) - 1;
    const auto relinkSample = [&](int old) {
        if (old >= sampleCount)
            return -1;
        const auto [found, added] = sampleNumbers.emplace(old, int(samples.size()));
        if (added)
            samples.push_back(old);
        return found->second;
    };
    for (const int instrument : instrumentOrder) {
        const std::size_t at = std::size_t(instrument) * 22;
        std::string record = m_lists[Instruments].substr(at, 22);
        writeLittle16(record, 20, int(to.count(InstrumentZones)));
        to.m_lists[Instruments] += record;
        if (!copyZones(to, InstrumentZones, read16(m_lists[Instruments], at + 20),
                       read16(m_lists[Instruments], at + 22 + 20), SampleGenerator, relinkSample))
            return false;
    }
    to.appendClosingRecords(Instruments, 20, *this);
    to.m_lists[Samples].clear();
    return true;
}

} // namespace tonovka
