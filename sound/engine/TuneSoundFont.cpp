#include "TuneSoundFont.h"

#include "PresetData.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace tonovka {

namespace {

// Everything before the sample data (the bank's description), and the preset data, are small.
constexpr off_t MaxHeadBytes = 1 << 20;
constexpr off_t MaxPresetDataBytes = 16 << 20;
// The zero points that the format keeps after each sample, taken with it as they lie in the file,
// so that the synthesizer finds the same points wherever it reads past a sample's end.
constexpr off_t GuardPoints = 46;
// Sample types that the synthesizer does not play from 16-bit points: in ROM, or compressed.
constexpr int RomSample = 0x8000;
constexpr int VorbisSample = 0x10;

// Where a bank keeps its parts, as read from the file.
struct Bank {
    off_t samplesAt = -1; // the "sdta" list, which everything before it describes
    off_t pointsAt = -1;  // the 16-bit sample points ("smpl")
    off_t pointCount = 0;
    std::string presetData; // "pdta" after its name
};

bool readChunkHeader(int fd, off_t at, off_t end, char (&id)[4], off_t& size)
{
    char bytes[8];
    if (end - at < 8 || !readFully(fd, at, bytes, sizeof bytes))
        return false;
    std::memcpy(id, bytes, 4);
    size = readLittle32(bytes + 4);
    return size <= end - at - 8;
}

// The sample points: the first chunk of the "sdta" list and the only one, as 24-bit samples
// ("sm24") would add another.
bool findPoints(int fd, off_t listAt, off_t listSize, Bank& bank)
{
    const off_t end = listAt + 8 + listSize;
    char id[4];
    off_t size = 0;
    if (!readChunkHeader(fd, listAt + 12, end, id, size) || std::memcmp(id, "smpl", 4) != 0)
        return false;
    bank.pointsAt = listAt + 20;
    bank.pointCount = size / 2;
    return end - (bank.pointsAt + size) < 8;
}

bool readBank(int fd, off_t end, Bank& bank)
{
    for (off_t at = 12; end - at >= 8;) {
        char id[4];
        off_t size = 0;
        if (!readChunkHeader(fd, at, end, id, size))
            return false;
        if (std::memcmp(id, "LIST", 4) == 0) {
            char type[4];
            // A list starts with its type.
            if (size < 4 || !readFully(fd, at + 8, type, sizeof type))
                return false;
            if (std::memcmp(type, "sdta", 4) == 0 && bank.samplesAt < 0) {
                bank.samplesAt = at;
                if (!findPoints(fd, at, size, bank))
                    return false;
            } else if (std::memcmp(type, "pdta", 4) == 0 && bank.samplesAt >= 0) {
                if (size - 4 > MaxPresetDataBytes)
                    return false;
                bank.presetData.resize(std::size_t(size - 4));
                return readFully(fd, at + 12, bank.presetData.data(), bank.presetData.size());
            }
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

// Moves a sample header's points to position in the new sample data, and gives the stretch of
// the old points that goes there. Its loop is written as FluidSynth mends a broken one, so that
// it plays the same from the new place. False for a sample that FluidSynth would not play as it
// lies in the file, or whose mended loop is no loop.
bool placeSample(std::string& record, off_t pointCount, off_t position, off_t& first, off_t& count)
{
    const off_t start = readLittle32(record.data() + 20);
    const off_t end = readLittle32(record.data() + 24);
    off_t loopStart = readLittle32(record.data() + 28);
    off_t loopEnd = readLittle32(record.data() + 32);
    const int type = static_cast<unsigned char>(record[44]) | (static_cast<unsigned char>(record[45]) << 8);
    if ((type & (RomSample | VorbisSample)) != 0 || end > pointCount || start + 4 > end)
        return false;
    const bool badLoopStart = loopStart < start || loopStart >= loopEnd;
    const bool badLoopEnd = loopEnd > pointCount || loopStart >= loopEnd;
    if (badLoopStart)
        loopStart = start;
    if (badLoopEnd)
        loopEnd = end;
    if (loopStart >= loopEnd)
        return false;
    first = start;
    count = std::min(pointCount, std::max(end, loopEnd) + GuardPoints) - start;
    const off_t moved = position - start;
    writeLittle32(record, 20, std::uint32_t(start + moved));
    writeLittle32(record, 24, std::uint32_t(end + moved));
    writeLittle32(record, 28, std::uint32_t(loopStart + moved));
    writeLittle32(record, 32, std::uint32_t(loopEnd + moved));
    return true;
}

} // namespace

std::shared_ptr<const SoundFontView> soundFontForTune(const std::string& path, const TuneInstruments& instruments)
{
    off_t fileSize = 0;
    const int fd = openSoundFontFile(path, fileSize);
    if (fd < 0)
        return nullptr;
    auto view = std::make_shared<SoundFontView>(fd);
    char header[12];
    if (fileSize < 12 || !readFully(fd, 0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "sfbk", 4) != 0)
        return nullptr;
    // The bank's chunks: its description, its sample data ("sdta") and its preset data ("pdta").
    const off_t end = std::min(fileSize, off_t(readLittle32(header + 4)) + 8);
    Bank bank;
    PresetData from;
    PresetData to;
    std::vector<int> samples;
    if (!readBank(fd, end, bank) || bank.samplesAt > MaxHeadBytes || !from.read(bank.presetData) ||
        !from.keepOnly(instruments, to, samples))
        return nullptr;

    // The kept samples, one after another, each with the guard points after it.
    std::map<int, int> newNumbers;
    for (std::size_t i = 0; i < samples.size(); ++i)
        newNumbers.emplace(samples[i], int(i));
    const std::string& oldRecords = from.records(PresetData::Samples);
    std::string& records = to.records(PresetData::Samples);
    std::vector<std::pair<off_t, off_t>> stretches;
    off_t points = 0;
    for (const int sample : samples) {
        std::string record =
            oldRecords.substr(std::size_t(sample) * PresetData::SampleRecordBytes, PresetData::SampleRecordBytes);
        off_t first = 0;
        off_t count = 0;
        if (!placeSample(record, bank.pointCount, points, first, count))
            return nullptr;
        // A stereo sample names its other half, which may have stayed behind.
        const auto link =
            newNumbers.find(static_cast<unsigned char>(record[42]) | (static_cast<unsigned char>(record[43]) << 8));
        record[42] = char(link == newNumbers.end() ? 0 : link->second & 0xFF);
        record[43] = char(link == newNumbers.end() ? 0 : (link->second >> 8) & 0xFF);
        records += record;
        stretches.emplace_back(first, count);
        points += count;
        // Samples that share their points would make the new data larger than the file's own.
        if (points > bank.pointCount)
            return nullptr;
    }
    records += oldRecords.substr(oldRecords.size() - PresetData::SampleRecordBytes);

    std::string head(std::size_t(bank.samplesAt), '\0');
    if (!readFully(fd, 0, head.data(), head.size()))
        return nullptr;
    std::string sampleHead = "LIST    sdtasmpl    ";
    writeLittle32(sampleHead, 4, std::uint32_t(12 + points * 2));
    writeLittle32(sampleHead, 16, std::uint32_t(points * 2));
    std::string presetData = to.chunk();
    const off_t size = off_t(head.size() + sampleHead.size() + presetData.size()) + points * 2;
    if (size - 8 > off_t(UINT32_MAX))
        return nullptr;
    writeLittle32(head, 4, std::uint32_t(size - 8));
    view->append(std::move(head));
    view->append(std::move(sampleHead));
    for (const auto& [first, count] : stretches)
        view->appendStretch(bank.pointsAt + first * 2, count * 2);
    view->append(std::move(presetData));
    return view;
}

} // namespace tonovka
