#pragma once

#include <cstdint>
#include <vector>

namespace tonovka::soundgen {

// The welcome screen's alarm: three slow up-and-down sweeps of a slightly buzzy tone,
// 3 s of mono sound whose loudest sample is half of full scale, so that it still has
// room when the music starts over it.
class Siren {
public:
    static constexpr std::uint32_t sampleRate = 22050;

    std::vector<std::int16_t> samples() const;

private:
    double m_seconds = 3.0;
    int m_sweepCount = 3;
    double m_lowHz = 650.0;
    double m_highHz = 1300.0;
    double m_fadeInSeconds = 0.04;
    double m_fadeOutSeconds = 0.25;
    double m_peak = 16384.0;
};

} // namespace tonovka::soundgen
