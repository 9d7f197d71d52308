#include "RegularFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonovka {

namespace {

RegularFile::Problem problemFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
        return RegularFile::Problem::Missing;
    default:
        return RegularFile::Problem::Unreadable;
    }
}

} // namespace

// The type is looked at before the open, so that a device is never opened, and again after it, on
// what was really opened. O_NONBLOCK keeps a FIFO that slipped in between from hanging.
RegularFile RegularFile::open(const std::filesystem::path& path, Problem& problem)
{
    problem = Problem::Missing;
    if (path.empty())
        return {};
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        problem = problemFromErrno(errno);
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        problem = Problem::NotRegularFile;
        return {};
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        problem = problemFromErrno(errno);
        return {};
    }
    RegularFile file(fd, 0);
    if (::fstat(fd, &info) != 0) {
        problem = Problem::Unreadable;
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        problem = Problem::NotRegularFile;
        return {};
    }
    file.m_size = info.st_size;
    problem = Problem::None;
    return file;
}

void RegularFile::close()
{
    if (isOpen())
        ::close(int(m_handle));
    m_handle = NoHandle;
}

std::int64_t RegularFile::readAt(std::int64_t at, void* buffer, std::size_t count) const
{
    auto* to = static_cast<char*>(buffer);
    std::int64_t done = 0;
    while (count > 0) {
        const ssize_t got = ::pread(int(m_handle), to, count, off_t(at + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        to += got;
        done += got;
        count -= std::size_t(got);
    }
    return done;
}

} // namespace tonovka
