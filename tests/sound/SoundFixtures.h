#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace tonovka::fixtures {

// A mono 16-bit WAV file of a steady tone.
QByteArray waveTone(int milliseconds, int amplitude = 8000, int frequency = 440);

// A standard MIDI file (format 0, one track) of half-second notes on a sustained organ sound,
// with no gaps between them, so that the tune sounds without a break until its end.
QByteArray midiTune(int notes);

// Bytes that no sound file starts with, the same for the same seed.
QByteArray randomBytes(int size, quint32 seed);

bool writeFile(const QString& path, const QByteArray& bytes);

// The samples that SDL's disk driver has written so far (signed 16 bits, interleaved).
QVector<qint16> rawSamples(const QString& path);
// The same samples, from bytes.
QVector<qint16> samplesOf(const QByteArray& bytes);

// The first sample at or after from whose size is above threshold, or -1.
qsizetype firstLoudSample(const QVector<qint16>& samples, qsizetype from = 0, int threshold = 64);

int peak(const QVector<qint16>& samples, qsizetype from = 0, qsizetype to = -1);

double energy(const QVector<qint16>& samples);

} // namespace tonovka::fixtures
