#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <utility>

namespace tonovka {

// A regular file opened for reading, and nothing else: a directory, a device, a pipe or a socket
// is refused, and nothing is ever read from one. On POSIX systems a device is refused before it is
// opened, as opening one can have effects of its own. Windows says for certain what a name leads
// to only once it is open (which names lead to devices changes from version to version), so there
// a name that is no folder is opened, and refused at once unless it is a file on a disk. What each
// system calls these lies in RegularFilePosix.cpp and RegularFileWindows.cpp.
class RegularFile {
public:
    enum class Problem {
        None,
        Missing,        // nothing there, or a dangling or looping link
        NotRegularFile, // a directory, a device, a FIFO or a socket
        Unreadable,     // no permission, or a read error
    };

    // The file at path, or a file that is not open, with problem saying why.
    static RegularFile open(const std::filesystem::path& path, Problem& problem);

    RegularFile() = default;
    ~RegularFile() { close(); }
    RegularFile(RegularFile&& other) noexcept
        : m_handle(std::exchange(other.m_handle, NoHandle)), m_size(std::exchange(other.m_size, 0))
    {
    }
    RegularFile& operator=(RegularFile&& other) noexcept
    {
        if (this != &other) {
            close();
            m_handle = std::exchange(other.m_handle, NoHandle);
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return m_handle != NoHandle; }
    // The size when it was opened; a file that shrinks later reads as shorter.
    std::int64_t size() const { return m_size; }
    // Reads up to count bytes from at; the count read, fewer where the file ends, or -1 on an error.
    std::int64_t readAt(std::int64_t at, void* buffer, std::size_t count) const;

private:
    // A descriptor or a handle; -1 means none on both systems.
    static constexpr std::intptr_t NoHandle = -1;

    RegularFile(std::intptr_t handle, std::int64_t size) : m_handle(handle), m_size(size) {}
    void close();

    std::intptr_t m_handle = NoHandle;
    std::int64_t m_size = 0;
};

} // namespace tonovka
