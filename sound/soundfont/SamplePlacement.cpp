#include "SamplePlacement.h"

#include "LittleEndian.h"

#include <algorithm>

namespace tonovka {

namespace {

// The zero points that the format keeps after each sample, taken with it as they lie in the file,
// so that the synthesizer finds the same points wherever it reads past a sample's end.
constexpr std::int64_t GuardPoints = 46;
// Sample types that the synthesizer does not play from 16-bit points: in ROM, or compressed.
constexpr int RomSample = 0x8000;
constexpr int VorbisSample = 0x10;

} // namespace

bool placeSample(std::string& record, std::int64_t pointCount, std::int64_t position, std::int64_t& first,
                 std::int64_t& count)
{
    const std::int64_t start = readLittle32(record.data() + 20);
    const std::int64_t end = readLittle32(record.data() + 24);
    std::int64_t loopStart = readLittle32(record.data() + 28);
    std::int64_t loopEnd = readLittle32(record.data() + 32);
    const int type = readLittle16(record.data() + 44);
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
    const std::int64_t moved = position - start;
    writeLittle32(record, 20, std::uint32_t(start + moved));
    writeLittle32(record, 24, std::uint32_t(end + moved));
    writeLittle32(record, 28, std::uint32_t(loopStart + moved));
    writeLittle32(record, 32, std::uint32_t(loopEnd + moved));
    return true;
}

} // namespace tonovka
