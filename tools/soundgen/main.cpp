// Writes the game's two sound files, siren.wav and rytmozan.mid, into the folder given on
// the command line. The files in data/ are its output; run it again after changing the
// sounds and commit what it writes.

#include "Rytmozan.h"
#include "Siren.h"
#include "WaveFile.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: soundgen <out-dir>\n";
        return 2;
    }
    try {
        const std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        using namespace tonovka::soundgen;
        writeFile(folder / "siren.wav", encodeWave(Siren().samples(), Siren::sampleRate));
        writeFile(folder / "rytmozan.mid", Rytmozan().midiFile());
    } catch (const std::exception& error) {
        std::cerr << "soundgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
