#pragma once

#include <cstdint>
#include <string>

namespace tonovka {

// Moves a sample's header (its "shdr" record) to position in the sample points of a new bank, and
// gives the stretch of the file's points that goes there: from first, count points, which hold the
// sample, its loop and the zero points after them. The loop is written as FluidSynth mends it when
// it loads the whole file, and so that it needs no more mending in the new bank, so that the sample
// plays the same from there. False for a sample that FluidSynth would not play as it lies in the
// file, or whose loop it would mend otherwise in the new bank.
bool placeSample(std::string& record, std::int64_t pointCount, std::int64_t position, std::int64_t& first,
                 std::int64_t& count);

} // namespace tonovka
