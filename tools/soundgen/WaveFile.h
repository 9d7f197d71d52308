#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonovka::soundgen {

// A mono 16-bit PCM sound as the bytes of a WAV file with the plain 44-byte header:
// "RIFF", "WAVE", one "fmt " chunk of 16 bytes and one "data" chunk, nothing else.
std::string encodeWave(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate);

} // namespace tonovka::soundgen
