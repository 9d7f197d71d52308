#include "RegularFile.h"

#include <algorithm>

#include <windows.h>

namespace tonovka {

namespace {

// ReadFile counts in 32 bits.
constexpr std::size_t MostBytesAtOnce = std::size_t(1) << 30;

RegularFile::Problem problemFromError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_CANT_RESOLVE_FILENAME:
        return RegularFile::Problem::Missing;
    default:
        return RegularFile::Problem::Unreadable;
    }
}

HANDLE handleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

// A folder is told apart before the open, which would refuse it as unreadable. The file is shared
// for writing and deleting too, so that reading it never stands in the way of a program that
// replaces or removes it, as on Linux. Whatever the name opened (a device, a pipe, the console)
// must be a file on a disk; nothing is read from anything else.
RegularFile RegularFile::open(const std::filesystem::path& path, Problem& problem)
{
    problem = Problem::Missing;
    if (path.empty())
        return {};
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        problem = problemFromError(::GetLastError());
        return {};
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        problem = Problem::NotRegularFile;
        return {};
    }
    const HANDLE handle =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        problem = problemFromError(::GetLastError());
        return {};
    }
    RegularFile file(reinterpret_cast<std::intptr_t>(handle), 0);
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        problem = Problem::NotRegularFile;
        return {};
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle, &size)) {
        problem = Problem::Unreadable;
        return {};
    }
    file.m_size = size.QuadPart;
    problem = Problem::None;
    return file;
}

void RegularFile::close()
{
    if (isOpen())
        ::CloseHandle(handleOf(m_handle));
    m_handle = NoHandle;
}

std::int64_t RegularFile::readAt(std::int64_t at, void* buffer, std::size_t count) const
{
    auto* to = static_cast<char*>(buffer);
    std::int64_t done = 0;
    while (count > 0) {
        // The offset goes with each read, so that reads from several places never share a position.
        OVERLAPPED where{};
        const auto offset = std::uint64_t(at + done);
        where.Offset = DWORD(offset & 0xFFFFFFFF);
        where.OffsetHigh = DWORD(offset >> 32);
        DWORD got = 0;
        if (!::ReadFile(handleOf(m_handle), to, DWORD(std::min(count, MostBytesAtOnce)), &got, &where)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            return -1;
        }
        if (got == 0)
            break;
        to += got;
        done += got;
        count -= got;
    }
    return done;
}

} // namespace tonovka
