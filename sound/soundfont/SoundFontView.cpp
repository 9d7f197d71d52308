#include "SoundFontView.h"

#include <algorithm>
#include <cstring>

namespace tonovka {

void SoundFontView::append(std::string bytes)
{
    const auto size = std::int64_t(bytes.size());
    m_pieces.push_back({m_size, size, std::move(bytes), -1});
    m_size += size;
}

void SoundFontView::appendStretch(std::int64_t at, std::int64_t count)
{
    m_pieces.push_back({m_size, count, {}, at});
    m_size += count;
}

bool SoundFontView::read(std::int64_t at, void* buffer, std::size_t count) const
{
    if (at < 0 || count > std::size_t(m_size - std::min(at, m_size)))
        return false;
    auto* to = static_cast<char*>(buffer);
    // The first piece that ends after at.
    auto piece = std::upper_bound(m_pieces.begin(), m_pieces.end(), at,
                                  [](std::int64_t where, const Piece& p) { return where < p.at + p.size; });
    for (; count > 0; ++piece) {
        const std::int64_t within = at - piece->at;
        const std::size_t n = std::min(count, std::size_t(piece->size - within));
        if (piece->fileAt < 0)
            std::memcpy(to, piece->bytes.data() + within, n);
        else if (m_file.readAt(piece->fileAt + within, to, n) != std::int64_t(n))
            return false;
        to += n;
        at += std::int64_t(n);
        count -= n;
    }
    return true;
}

std::shared_ptr<const SoundFontView> wholeSoundFont(const std::filesystem::path& path)
{
    RegularFile::Problem problem = RegularFile::Problem::None;
    RegularFile file = RegularFile::open(path, problem);
    if (problem != RegularFile::Problem::None)
        return nullptr;
    const std::int64_t size = file.size();
    auto view = std::make_shared<SoundFontView>(std::move(file));
    view->appendStretch(0, size);
    return view;
}

} // namespace tonovka
