#pragma once

#include "RegularFile.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace tonovka {

// A SoundFont 2 bank is a RIFF file of three lists: its description ("INFO"), its samples
// ("sdta") and its preset data ("pdta").

// Whether the file starts like a whole bank: "RIFF", a length that the file really holds,
// "sfbk", then the three lists in their order, each within that length. A cut-off or foreign file
// is caught here, before the synthesizer sees it, and the next soundfont is tried; the damage
// that lies inside the lists is for the soundfont's reader to find.
bool looksLikeSoundFont(const std::filesystem::path& path);

// Where a bank keeps its parts, as read from the file.
struct BankParts {
    std::int64_t samplesAt = -1; // the "sdta" list, which everything before it describes
    std::int64_t pointsAt = -1;  // the 16-bit sample points ("smpl")
    std::int64_t pointCount = 0;
    std::string presetData; // "pdta" after its name
};

// Reads where the bank in the file keeps its parts, and its preset data. False when the file is
// no bank of 16-bit sample points whose chunks hold together within it, or when what lies before
// the samples, or the preset data, is larger than a bank's ever is: both are read whole.
bool readBankParts(const RegularFile& file, BankParts& bank);

} // namespace tonovka
