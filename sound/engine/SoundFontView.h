#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tonovka {

// What FluidSynth reads as a soundfont file: pieces laid one after another, each either bytes
// made in memory or a stretch of the real file, read through a descriptor held open. The
// descriptor keeps the file it opened even when the file is replaced by its name.
class SoundFontView {
public:
    // Takes the descriptor, which it closes.
    explicit SoundFontView(int fd) : m_fd(fd) {}
    ~SoundFontView();
    SoundFontView(const SoundFontView&) = delete;
    SoundFontView& operator=(const SoundFontView&) = delete;

    void append(std::string bytes);
    // count bytes of the file from at.
    void appendStretch(off_t at, off_t count);

    off_t size() const { return m_size; }
    // Reads count bytes from at; false when they are not all there.
    bool read(off_t at, void* buffer, std::size_t count) const;

private:
    struct Piece {
        off_t at;          // where the piece starts in the view
        off_t size;        //
        std::string bytes; // the piece, or empty for a stretch of the file
        off_t fileAt;      // where a stretch lies in the file
    };

    int m_fd;
    std::vector<Piece> m_pieces;
    off_t m_size = 0;
};

// Opens a regular file for reading and gives its size; -1 when it is no regular file or cannot
// be opened. Never blocks on a FIFO.
int openSoundFontFile(const std::string& path, off_t& size);

// Reads exactly count bytes from at, or gives false.
bool readFully(int fd, off_t at, void* buffer, std::size_t count);

// The whole soundfont at path as it is; null when it cannot be opened.
std::shared_ptr<const SoundFontView> wholeSoundFont(const std::string& path);

} // namespace tonovka
