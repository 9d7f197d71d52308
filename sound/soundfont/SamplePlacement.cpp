#include "SamplePlacement.h"

#include "LittleEndian.h"

#include <algorithm>
#include <utility>

namespace tonovka {

namespace {

// The zero points that the format keeps after each sample, taken with it as they lie in the file,
// so that the synthesizer finds the same points wherever it reads past a sample's end.
constexpr std::int64_t GuardPoints = 46;
// Sample types that the synthesizer does not play from 16-bit points: in ROM, or compressed.
constexpr int RomSample = 0x8000;
constexpr int VorbisSample = 0x10;

struct Loop {
    std::int64_t start;
    std::int64_t end;
};

// A sample's loop as FluidSynth mends it while it loads a bank of pointCount points
// (fluid_sample_sanitize_loop): a loop that ends where it starts stays, and plays as none unless a
// zone's loop offsets widen it; a reversed one is turned round; then a start or an end before the
// sample or past the bank's points moves to the sample's start or end. A loop may still start past
// the sample's end, or past its own end when that was moved; FluidSynth plays it as it is.
Loop mendedLoop(Loop loop, std::int64_t start, std::int64_t end, std::int64_t pointCount)
{
    if (loop.start > loop.end)
        std::swap(loop.start, loop.end);
    if (loop.start < start || loop.start > pointCount)
        loop.start = start;
    if (loop.end < start || loop.end > pointCount)
        loop.end = end;
    return loop;
}

} // namespace

bool placeSample(std::string& record, std::int64_t pointCount, std::int64_t position, std::int64_t& first,
                 std::int64_t& count)
{
    const std::int64_t start = readLittle32(record.data() + 20);
    const std::int64_t end = readLittle32(record.data() + 24);
    const int type = readLittle16(record.data() + 44);
    if ((type & (RomSample | VorbisSample)) != 0 || end > pointCount || start + 4 > end)
        return false;
    const Loop loop =
        mendedLoop({readLittle32(record.data() + 28), readLittle32(record.data() + 32)}, start, end, pointCount);
    // Past its own end, the new bank's loop would be turned round.
    if (loop.start > loop.end)
        return false;
    first = start;
    count = std::min(pointCount, std::max(end, loop.end) + GuardPoints) - start;
    const std::int64_t moved = position - start;
    writeLittle32(record, 20, std::uint32_t(start + moved));
    writeLittle32(record, 24, std::uint32_t(end + moved));
    writeLittle32(record, 28, std::uint32_t(loop.start + moved));
    writeLittle32(record, 32, std::uint32_t(loop.end + moved));
    return true;
}

} // namespace tonovka
