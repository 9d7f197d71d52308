#pragma once

#include "RegularFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tonovka {

// What FluidSynth reads as a soundfont file: pieces laid one after another, each either bytes
// made in memory or a stretch of the real file, read from the file held open. The open file keeps
// the one it opened even when another is put in its place by its name.
class SoundFontView {
public:
    explicit SoundFontView(RegularFile file) : m_file(std::move(file)) {}

    void append(std::string bytes);
    // count bytes of the file from at.
    void appendStretch(std::int64_t at, std::int64_t count);

    std::int64_t size() const { return m_size; }
    // Reads count bytes from at; false when they are not all there.
    bool read(std::int64_t at, void* buffer, std::size_t count) const;

private:
    struct Piece {
        std::int64_t at;     // where the piece starts in the view
        std::int64_t size;   //
        std::string bytes;   // the piece, or empty for a stretch of the file
        std::int64_t fileAt; // where a stretch lies in the file
    };

    RegularFile m_file;
    std::vector<Piece> m_pieces;
    std::int64_t m_size = 0;
};

// The whole soundfont at path as it is; null when it is no regular file that can be read.
std::shared_ptr<const SoundFontView> wholeSoundFont(const std::filesystem::path& path);

} // namespace tonovka
