// Checks the committed siren.wav: a plain 16-bit PCM file of 2 to 4 seconds whose tone
// sweeps up and down like a siren, with headroom and soft ends.

#include <QFile>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

std::uint32_t littleEndian(const QByteArray& bytes, int at, int byteCount)
{
    std::uint32_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// Zero crossings per second, halved: the pitch of a tone that crosses zero twice a cycle.
std::vector<double> pitchPerWindow(const std::vector<int>& samples, int sampleRate, int windowLength)
{
    std::vector<double> pitches;
    for (std::size_t start = 0; start + windowLength <= samples.size(); start += windowLength) {
        int crossings = 0;
        for (std::size_t i = start + 1; i < start + windowLength; ++i) {
            if ((samples[i - 1] < 0) != (samples[i] < 0))
                ++crossings;
        }
        pitches.push_back(crossings * sampleRate / (2.0 * windowLength));
    }
    return pitches;
}

} // namespace

class SirenWaveTest : public QObject {
    Q_OBJECT

private:
    QByteArray m_bytes;
    int m_channelCount = 0;
    int m_sampleRate = 0;
    std::vector<int> m_samples; // the first channel

    double seconds() const { return static_cast<double>(m_samples.size()) / m_sampleRate; }

private Q_SLOTS:
    void initTestCase()
    {
        QFile file(QStringLiteral(TONOVKA_DATA_DIR "/siren.wav"));
        QVERIFY2(file.open(QIODevice::ReadOnly), "data/siren.wav cannot be read");
        m_bytes = file.readAll();
        QVERIFY(m_bytes.size() > 44);
        m_channelCount = static_cast<int>(littleEndian(m_bytes, 22, 2));
        m_sampleRate = static_cast<int>(littleEndian(m_bytes, 24, 4));
        QVERIFY(m_channelCount == 1 || m_channelCount == 2);
        for (int at = 44; at + 1 < m_bytes.size(); at += 2 * m_channelCount)
            m_samples.push_back(static_cast<std::int16_t>(littleEndian(m_bytes, at, 2)));
    }

    void headerIsTheCanonicalFortyFourBytesOfSixteenBitPcm()
    {
        QCOMPARE(m_bytes.left(4), QByteArray("RIFF"));
        QCOMPARE(littleEndian(m_bytes, 4, 4), static_cast<std::uint32_t>(m_bytes.size() - 8));
        QCOMPARE(m_bytes.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(littleEndian(m_bytes, 16, 4), 16u);
        QCOMPARE(littleEndian(m_bytes, 20, 2), 1u);
        QVERIFY(m_sampleRate == 22050 || m_sampleRate == 44100);
        const std::uint32_t blockAlign = 2 * m_channelCount;
        QCOMPARE(littleEndian(m_bytes, 28, 4), m_sampleRate * blockAlign);
        QCOMPARE(littleEndian(m_bytes, 32, 2), blockAlign);
        QCOMPARE(littleEndian(m_bytes, 34, 2), 16u);
        QCOMPARE(m_bytes.mid(36, 4), QByteArray("data"));
        QCOMPARE(littleEndian(m_bytes, 40, 4), static_cast<std::uint32_t>(m_bytes.size() - 44));
        QCOMPARE((m_bytes.size() - 44) % blockAlign, 0);
    }

    void soundLastsBetweenTwoAndFourSeconds()
    {
        QVERIFY2(seconds() >= 2.0 && seconds() <= 4.0, qPrintable(QString::number(seconds())));
    }

    void loudestSampleLeavesAboutSixDecibelsOfHeadroom()
    {
        int peak = 0;
        for (const int sample : m_samples)
            peak = std::max(peak, std::abs(sample));
        const double decibels = 20.0 * std::log10(peak / 32768.0);
        QVERIFY2(decibels > -7.5 && decibels < -5.0, qPrintable(QString::number(decibels)));
        QVERIFY(std::none_of(m_samples.begin(), m_samples.end(),
                             [](int sample) { return sample >= 32767 || sample <= -32767; }));
    }

    void soundStartsAndEndsQuietlySoThatNothingClicks()
    {
        QVERIFY(std::abs(m_samples.front()) < 200);
        QVERIFY(std::abs(m_samples.back()) < 200);
        const auto tenMilliseconds = static_cast<std::size_t>(m_sampleRate / 100);
        for (std::size_t i = 0; i < tenMilliseconds; ++i) {
            QVERIFY(std::abs(m_samples[i]) < 4000);
            QVERIFY(std::abs(m_samples[m_samples.size() - 1 - i]) < 4000);
        }
    }

    void toneSoundsAllTheWayThrough()
    {
        // Windows of 100 ms, leaving out the fades at both ends.
        const auto window = static_cast<std::size_t>(m_sampleRate / 10);
        for (std::size_t start = 3 * window; start + 4 * window <= m_samples.size(); start += window) {
            double sum = 0.0;
            for (std::size_t i = start; i < start + window; ++i)
                sum += static_cast<double>(m_samples[i]) * m_samples[i];
            const double rms = std::sqrt(sum / window);
            QVERIFY2(rms > 3000.0, qPrintable(QStringLiteral("quiet at %1 s").arg(start / double(m_sampleRate))));
        }
    }

    void pitchRisesAndFallsAtLeastTwice()
    {
        const std::vector<double> pitches = pitchPerWindow(m_samples, m_sampleRate, m_sampleRate / 20);
        const auto [lowest, highest] = std::minmax_element(pitches.begin() + 1, pitches.end() - 1);
        QVERIFY2(*lowest > 300.0 && *highest < 3000.0, "the tone leaves the range of a siren");
        QVERIFY2(*highest > 1.5 * *lowest, "the pitch hardly moves");

        // A turn counts once the pitch has moved back a quarter of the whole range.
        const double margin = (*highest - *lowest) / 4.0;
        int peaks = 0;
        int troughs = 0;
        bool rising = true;
        double extreme = pitches.front();
        for (const double pitch : pitches) {
            if (rising && pitch > extreme) {
                extreme = pitch;
            } else if (rising && pitch < extreme - margin) {
                ++peaks;
                rising = false;
                extreme = pitch;
            } else if (!rising && pitch < extreme) {
                extreme = pitch;
            } else if (!rising && pitch > extreme + margin) {
                ++troughs;
                rising = true;
                extreme = pitch;
            }
        }
        QVERIFY2(peaks >= 2, qPrintable(QStringLiteral("%1 peaks").arg(peaks)));
        QVERIFY2(troughs >= 1, qPrintable(QStringLiteral("%1 troughs").arg(troughs)));
    }
};

QTEST_GUILESS_MAIN(SirenWaveTest)
#include "SirenWaveTest.moc"
