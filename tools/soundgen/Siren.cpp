#include "Siren.h"

#include <cmath>
#include <cstddef>

namespace tonovka::soundgen {

namespace {

// The sound is built from + - * / only, which IEEE arithmetic rounds the same way on
// every machine, so the committed file can be made again byte for byte. A library sin()
// may differ in its last bit from one maths library to the next.
double sineOfTurns(double turns)
{
    double x = turns - std::floor(turns);
    double sign = 1.0;
    if (x >= 0.5) {
        x -= 0.5;
        sign = -1.0;
    }
    if (x > 0.25)
        x = 0.5 - x;
    // x is now in [0, 1/4] turn, where the series to x^13 is good to about 1e-9.
    const double a = 6.283185307179586 * x;
    const double a2 = a * a;
    double sum = 1.0 / 6227020800.0;
    sum = 1.0 / 39916800.0 - a2 * sum;
    sum = 1.0 / 362880.0 - a2 * sum;
    sum = 1.0 / 5040.0 - a2 * sum;
    sum = 1.0 / 120.0 - a2 * sum;
    sum = 1.0 / 6.0 - a2 * sum;
    sum = 1.0 - a2 * sum;
    return sign * a * sum;
}

// 0 at 0, 1 at 1/2, 0 again at 1: a smooth rise and fall with no corners.
double riseAndFall(double turns)
{
    return 0.5 - 0.5 * sineOfTurns(turns + 0.25);
}

// A few harmonics over the fundamental give the tone the edge of a horn; they are weak
// enough that the wave still crosses zero just twice a cycle.
double buzzyTone(double phase)
{
    return sineOfTurns(phase) + 0.22 * sineOfTurns(2.0 * phase) + 0.18 * sineOfTurns(3.0 * phase) +
           0.06 * sineOfTurns(5.0 * phase);
}

std::int16_t roundToSample(double value)
{
    return static_cast<std::int16_t>(value < 0.0 ? value - 0.5 : value + 0.5);
}

} // namespace

std::vector<std::int16_t> Siren::samples() const
{
    const auto count = static_cast<std::size_t>(m_seconds * sampleRate + 0.5);
    const double sweepSeconds = m_seconds / m_sweepCount;

    std::vector<double> wave(count);
    double phase = 0.0;
    double loudest = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double hz = m_lowHz + (m_highHz - m_lowHz) * riseAndFall(t / sweepSeconds);

        // Fade with half a cosine at both ends, so the sound neither starts nor stops
        // with a click.
        double envelope = 1.0;
        if (t < m_fadeInSeconds)
            envelope = riseAndFall(0.5 * t / m_fadeInSeconds);
        const double left = m_seconds - t;
        if (left < m_fadeOutSeconds)
            envelope = riseAndFall(0.5 * left / m_fadeOutSeconds);

        wave[i] = envelope * buzzyTone(phase);
        if (std::fabs(wave[i]) > loudest)
            loudest = std::fabs(wave[i]);

        phase += hz / sampleRate;
        if (phase >= 1.0)
            phase -= 1.0;
    }

    std::vector<std::int16_t> result(count);
    for (std::size_t i = 0; i < count; ++i)
        result[i] = roundToSample(wave[i] * m_peak / loudest);
    return result;
}

} // namespace tonovka::soundgen
