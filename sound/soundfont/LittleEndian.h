#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tonovka {

// RIFF files, a SoundFont bank and a WAV file among them, keep their numbers little-endian,
// whatever the machine that reads them.

inline int readLittle16(const char* bytes)
{
    const auto* u = reinterpret_cast<const unsigned char*>(bytes);
    return u[0] | (u[1] << 8);
}

inline std::uint32_t readLittle32(const char* bytes)
{
    const auto* u = reinterpret_cast<const unsigned char*>(bytes);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (std::uint32_t(u[3]) << 24);
}

inline void writeLittle16(std::string& bytes, std::size_t at, int value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char((value >> 8) & 0xFF);
}

inline void writeLittle32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

inline void appendLittle16(std::string& bytes, std::size_t value)
{
    bytes.push_back(char(value & 0xFF));
    bytes.push_back(char((value >> 8) & 0xFF));
}

} // namespace tonovka
