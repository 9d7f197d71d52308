#include "SoundFontBank.h"

#include "LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace tonovka {

namespace {

// Everything before the sample data (the bank's description), and the preset data, are small.
constexpr std::int64_t MaxHeadBytes = 1 << 20;
constexpr std::int64_t MaxPresetDataBytes = 16 << 20;

// A chunk's header and the type after it (the RIFF chunk's "sfbk", a list's "INFO"), 12 bytes;
// false when the file does not hold them.
bool readHeaderAndType(const RegularFile& file, std::int64_t at, char (&bytes)[12])
{
    return file.readAt(at, bytes, sizeof bytes) == std::int64_t(sizeof bytes);
}

// Where the bank's RIFF chunk ends: within the file, its length past "RIFF" and the length
// itself; -1 when the file does not start as a bank does.
std::int64_t bankEnd(const RegularFile& file)
{
    char header[12];
    if (!readHeaderAndType(file, 0, header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "sfbk", 4) != 0)
        return -1;
    return readLittle32(header + 4) + std::int64_t(8);
}

bool readChunkHeader(const RegularFile& file, std::int64_t at, std::int64_t end, char (&id)[4], std::int64_t& size)
{
    char bytes[8];
    if (end - at < 8 || file.readAt(at, bytes, sizeof bytes) != std::int64_t(sizeof bytes))
        return false;
    std::memcpy(id, bytes, 4);
    size = readLittle32(bytes + 4);
    return size <= end - at - 8;
}

// The sample points: the first chunk of the "sdta" list and the only one, as 24-bit samples
// ("sm24") would add another.
bool findPoints(const RegularFile& file, std::int64_t listAt, std::int64_t listSize, BankParts& bank)
{
    const std::int64_t end = listAt + 8 + listSize;
    char id[4];
    std::int64_t size = 0;
    if (!readChunkHeader(file, listAt + 12, end, id, size) || std::memcmp(id, "smpl", 4) != 0)
        return false;
    bank.pointsAt = listAt + 20;
    bank.pointCount = size / 2;
    return end - (bank.pointsAt + size) < 8;
}

} // namespace

bool looksLikeSoundFont(const std::filesystem::path& path)
{
    RegularFile::Problem problem = RegularFile::Problem::None;
    const RegularFile file = RegularFile::open(path, problem);
    const std::int64_t end = bankEnd(file);
    if (problem != RegularFile::Problem::None || end < 0 || end > file.size())
        return false;
    std::int64_t at = 12;
    char chunk[12];
    for (const char* list : {"INFO", "sdta", "pdta"}) {
        if (!readHeaderAndType(file, at, chunk) || std::memcmp(chunk, "LIST", 4) != 0 ||
            std::memcmp(chunk + 8, list, 4) != 0)
            return false;
        const std::int64_t length = readLittle32(chunk + 4);
        if (length < 4 || length > end - at - 8)
            return false;
        at += 8 + length + (length & 1);
    }
    return true;
}

bool readBankParts(const RegularFile& file, BankParts& bank)
{
    const std::int64_t end = std::min(file.size(), bankEnd(file));
    for (std::int64_t at = 12; end - at >= 8;) {
        char id[4];
        std::int64_t size = 0;
        if (!readChunkHeader(file, at, end, id, size))
            return false;
        if (std::memcmp(id, "LIST", 4) == 0) {
            char type[4];
            // A list starts with its type.
            if (size < 4 || file.readAt(at + 8, type, sizeof type) != std::int64_t(sizeof type))
                return false;
            if (std::memcmp(type, "sdta", 4) == 0 && bank.samplesAt < 0) {
                bank.samplesAt = at;
                if (at > MaxHeadBytes || !findPoints(file, at, size, bank))
                    return false;
            } else if (std::memcmp(type, "pdta", 4) == 0 && bank.samplesAt >= 0) {
                if (size - 4 > MaxPresetDataBytes)
                    return false;
                bank.presetData.resize(std::size_t(size - 4));
                return file.readAt(at + 12, bank.presetData.data(), bank.presetData.size()) ==
                       std::int64_t(bank.presetData.size());
            }
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

} // namespace tonovka
