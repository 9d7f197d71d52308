#include "SoundFontView.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonovka {

SoundFontView::~SoundFontView()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void SoundFontView::append(std::string bytes)
{
    const auto size = off_t(bytes.size());
    m_pieces.push_back({m_size, size, std::move(bytes), -1});
    m_size += size;
}

void SoundFontView::appendStretch(off_t at, off_t count)
{
    m_pieces.push_back({m_size, count, {}, at});
    m_size += count;
}

bool SoundFontView::read(off_t at, void* buffer, std::size_t count) const
{
    if (at < 0 || count > std::size_t(m_size - std::min(at, m_size)))
        return false;
    auto* to = static_cast<char*>(buffer);
    // The first piece that ends after at.
    auto piece = std::upper_bound(m_pieces.begin(), m_pieces.end(), at,
                                  [](off_t where, const Piece& p) { return where < p.at + p.size; });
    for (; count > 0; ++piece) {
        const off_t within = at - piece->at;
        const std::size_t n = std::min(count, std::size_t(piece->size - within));
        if (piece->fileAt < 0)
            std::memcpy(to, piece->bytes.data() + within, n);
        else if (!readFully(m_fd, piece->fileAt + within, to, n))
            return false;
        to += n;
        at += off_t(n);
        count -= n;
    }
    return true;
}

int openSoundFontFile(const std::string& path, off_t& size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        size = info.st_size;
        return fd;
    }
    if (fd >= 0)
        ::close(fd);
    return -1;
}

bool readFully(int fd, off_t at, void* buffer, std::size_t count)
{
    auto* to = static_cast<char*>(buffer);
    while (count > 0) {
        const ssize_t got = ::pread(fd, to, count, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        to += got;
        at += got;
        count -= std::size_t(got);
    }
    return true;
}

std::shared_ptr<const SoundFontView> wholeSoundFont(const std::string& path)
{
    off_t size = 0;
    const int fd = openSoundFontFile(path, size);
    if (fd < 0)
        return nullptr;
    auto view = std::make_shared<SoundFontView>(fd);
    view->appendStretch(0, size);
    return view;
}

} // namespace tonovka
