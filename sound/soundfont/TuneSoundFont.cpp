#include "TuneSoundFont.h"

#include "LittleEndian.h"
#include "PresetData.h"
#include "SamplePlacement.h"
#include "SoundFontBank.h"

#include <map>
#include <utility>
#include <vector>

namespace tonovka {

std::shared_ptr<const SoundFontView> soundFontForTune(const std::filesystem::path& path,
                                                      const TuneInstruments& instruments)
{
    RegularFile::Problem problem = RegularFile::Problem::None;
    RegularFile file = RegularFile::open(path, problem);
    BankParts bank;
    PresetData from;
    PresetData to;
    std::vector<int> samples;
    if (problem != RegularFile::Problem::None || !readBankParts(file, bank) || !from.read(bank.presetData) ||
        !from.keepOnly(instruments.programs, instruments.drumKits, to, samples))
        return nullptr;

    // The kept samples, one after another, each with the guard points after it.
    std::map<int, int> newNumbers;
    for (std::size_t i = 0; i < samples.size(); ++i)
        newNumbers.emplace(samples[i], int(i));
    const std::string& oldRecords = from.records(PresetData::Samples);
    std::string& records = to.records(PresetData::Samples);
    std::vector<std::pair<std::int64_t, std::int64_t>> stretches;
    std::int64_t points = 0;
    for (const int sample : samples) {
        std::string record =
            oldRecords.substr(std::size_t(sample) * PresetData::SampleRecordBytes, PresetData::SampleRecordBytes);
        std::int64_t first = 0;
        std::int64_t count = 0;
        if (!placeSample(record, bank.pointCount, points, first, count))
            return nullptr;
        // A stereo sample names its other half, which may have stayed behind.
        const auto link = newNumbers.find(readLittle16(record.data() + 42));
        writeLittle16(record, 42, link == newNumbers.end() ? 0 : link->second);
        records += record;
        stretches.emplace_back(first, count);
        points += count;
        // Samples that share their points would make the new data larger than the file's own.
        if (points > bank.pointCount)
            return nullptr;
    }
    records += oldRecords.substr(oldRecords.size() - PresetData::SampleRecordBytes);

    std::string head(std::size_t(bank.samplesAt), '\0');
    if (file.readAt(0, head.data(), head.size()) != std::int64_t(head.size()))
        return nullptr;
    std::string sampleHead = "LIST    sdtasmpl    ";
    writeLittle32(sampleHead, 4, std::uint32_t(12 + points * 2));
    writeLittle32(sampleHead, 16, std::uint32_t(points * 2));
    std::string presetData = to.chunk();
    const std::int64_t size = std::int64_t(head.size() + sampleHead.size() + presetData.size()) + points * 2;
    if (size - 8 > std::int64_t(UINT32_MAX))
        return nullptr;
    writeLittle32(head, 4, std::uint32_t(size - 8));
    auto view = std::make_shared<SoundFontView>(std::move(file));
    view->append(std::move(head));
    view->append(std::move(sampleHead));
    for (const auto& [first, count] : stretches)
        view->appendStretch(bank.pointsAt + first * 2, count * 2);
    view->append(std::move(presetData));
    return view;
}

} // namespace tonovka
