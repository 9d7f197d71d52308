#pragma once

#include <cstdint>
#include <string>

namespace tonovka {

// Moves a sample's header (its "shdr" record) to position in the sample points of a new bank, and
// gives the stretch of the file's points that goes there: from first, count points, which hold the
// sample, its loop and the zero points after them. Its loop is written as FluidSynth mends a
// broken one, so that it plays the same from the new place. False for a sample that FluidSynth
// would not play as it lies in the file, or whose mended loop is no loop.
bool placeSample(std::string& record, std::int64_t pointCount, std::int64_t position, std::int64_t& first,
                 std::int64_t& count);

} // namespace tonovka
