// Writes the part of a General MIDI soundfont that a tune plays, as the game's synthesizer on
// Linux reads it from the whole bank (TuneSoundFont.h): the presets of the tune's instruments,
// the instruments they play and those instruments' samples. A build whose synthesizer cannot
// read the bank on the player's machine carries this part beside the game instead.
//
// Usage: tune-soundfont TUNE.mid SOUNDFONT.sf2 PART.sf2

#include "TuneSoundFont.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s TUNE.mid SOUNDFONT.sf2 PART.sf2\n", argv[0]);
        return 2;
    }
    std::ifstream tuneFile(argv[1], std::ios::binary);
    const std::string tune{std::istreambuf_iterator<char>(tuneFile), std::istreambuf_iterator<char>()};
    if (!tuneFile.good() && !tuneFile.eof()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const auto part = tonovka::soundFontForTune(argv[2], tonovka::instrumentsOfTune(tune));
    if (!part) {
        std::fprintf(stderr, "%s: %s holds no part for the tune's instruments\n", argv[0], argv[2]);
        return 1;
    }
    std::vector<char> bytes(static_cast<std::size_t>(part->size()));
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    if (!part->read(0, bytes.data(), bytes.size()) ||
        !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
