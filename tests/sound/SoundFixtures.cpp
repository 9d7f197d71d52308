#include "SoundFixtures.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace tonovka::fixtures {

namespace {

void appendLittle(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

void appendBig(QByteArray& bytes, quint32 value, int size)
{
    for (int i = size - 1; i >= 0; --i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

} // namespace

QByteArray waveTone(int milliseconds, int amplitude, int frequency)
{
    constexpr int rate = 22050;
    const int frames = rate * milliseconds / 1000;
    QByteArray bytes("RIFF");
    appendLittle(bytes, 36 + 2 * frames, 4);
    bytes.append("WAVEfmt ");
    appendLittle(bytes, 16, 4);
    appendLittle(bytes, 1, 2); // PCM
    appendLittle(bytes, 1, 2); // mono
    appendLittle(bytes, rate, 4);
    appendLittle(bytes, rate * 2, 4);
    appendLittle(bytes, 2, 2);
    appendLittle(bytes, 16, 2);
    bytes.append("data");
    appendLittle(bytes, 2 * frames, 4);
    for (int i = 0; i < frames; ++i) {
        const double phase = 2 * std::numbers::pi * frequency * i / rate;
        appendLittle(bytes, quint16(qint16(std::lround(amplitude * std::sin(phase)))), 2);
    }
    return bytes;
}

QByteArray midiTune(int notes)
{
    // 96 ticks a quarter note at the standard 120 beats a minute: a note of 96 ticks lasts 0.5 s.
    QByteArray track;
    track.append("\x00\xc0\x13", 3); // a church organ, which does not fade while a key is held
    for (int i = 0; i < notes; ++i) {
        const char key = char(60 + (i % 8));
        track.append('\x00').append('\x90').append(key).append('\x64');
        track.append('\x60').append('\x80').append(key).append('\x00');
    }
    track.append("\x00\xff\x2f\x00", 4);

    QByteArray bytes("MThd");
    appendBig(bytes, 6, 4);
    appendBig(bytes, 0, 2); // format 0
    appendBig(bytes, 1, 2); // one track
    appendBig(bytes, 96, 2);
    bytes.append("MTrk");
    appendBig(bytes, quint32(track.size()), 4);
    return bytes + track;
}

QByteArray randomBytes(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QVector<qint16> rawSamples(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? samplesOf(file.readAll()) : QVector<qint16>();
}

QVector<qint16> samplesOf(const QByteArray& bytes)
{
    QVector<qint16> samples(bytes.size() / 2);
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = qFromLittleEndian<qint16>(bytes.constData() + 2 * i);
    return samples;
}

qsizetype firstLoudSample(const QVector<qint16>& samples, qsizetype from, int threshold)
{
    for (qsizetype i = from; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) > threshold)
            return i;
    }
    return -1;
}

int peak(const QVector<qint16>& samples, qsizetype from, qsizetype to)
{
    if (to < 0 || to > samples.size())
        to = samples.size();
    int loudest = 0;
    for (qsizetype i = from; i < to; ++i)
        loudest = std::max(loudest, std::abs(int(samples[i])));
    return loudest;
}

double energy(const QVector<qint16>& samples)
{
    double sum = 0;
    for (const qint16 sample : samples)
        sum += double(sample) * sample;
    return sum;
}

} // namespace tonovka::fixtures
