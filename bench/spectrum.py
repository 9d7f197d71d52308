#!/usr/bin/env python3
"""spectrum.py: compares what two captures of SDL's disk driver sound like, band by band.

    bench/spectrum.py [--check DB [--below HZ]] BEFORE.raw RATE AFTER.raw RATE

Each file holds signed 16-bit stereo samples at its rate. For each, the script averages the power
spectrum of the two channels mixed to one over frames of about 370 ms (long enough to tell the
lowest octave's few frequencies apart), and prints the level of each
octave band in dB against the loudest band of the first file, the RMS level, and the loudness
in time (RMS of each second) side by side. With --check, both captures start at their first sound
and last as long as the shorter, and the script fails when a band within 40 dB of the loudest
differs by more than DB between them (with --below, only the bands under HZ count)."""
import cmath
import math
import struct
import sys

BANDS = [31.5 * 2 ** i for i in range(10)]  # 31.5 Hz to 16 kHz


def mono(path):
    data = open(path, 'rb').read()
    data = data[: len(data) // 4 * 4]
    values = struct.unpack('<%dh' % (len(data) // 2), data)
    return [(values[i] + values[i + 1]) / 2 for i in range(0, len(values), 2)]


def fft(x):
    n = len(x)
    if n == 1:
        return x
    even, odd = fft(x[0::2]), fft(x[1::2])
    twiddle = [cmath.exp(-2j * math.pi * k / n) * odd[k] for k in range(n // 2)]
    return [even[k] + twiddle[k] for k in range(n // 2)] + [even[k] - twiddle[k] for k in range(n // 2)]


def band_power(samples, rate):
    size = 8192 if rate <= 24000 else 16384
    window = [0.5 - 0.5 * math.cos(2 * math.pi * i / size) for i in range(size)]
    bands = [0.0] * len(BANDS)
    frames = 0
    for start in range(0, len(samples) - size, size):
        spectrum = fft([s * w for s, w in zip(samples[start:start + size], window)])
        for k in range(1, size // 2):
            f = k * rate / size
            for b, centre in enumerate(BANDS):
                if centre / math.sqrt(2) <= f < centre * math.sqrt(2):
                    bands[b] += abs(spectrum[k]) ** 2 / size
        frames += 1
    return [p / max(frames, 1) for p in bands]


def rms(samples):
    return math.sqrt(sum(s * s for s in samples) / max(len(samples), 1))


def from_first_sound(samples, seconds, rate):
    start = next((i for i, s in enumerate(samples) if abs(s) > 64), len(samples))
    return samples[start:start + int(seconds * rate)]


def main():
    args = sys.argv[1:]
    limit, below = None, float('inf')
    if args[:1] == ['--check']:
        limit, args = float(args[1]), args[2:]
    if args[:1] == ['--below']:
        below, args = float(args[1]), args[2:]
    before, before_rate, after, after_rate = args[0], int(args[1]), args[2], int(args[3])
    a, b = mono(before), mono(after)
    if limit is not None:
        seconds = min(len(a) / before_rate, len(b) / after_rate)
        a, b = from_first_sound(a, seconds, before_rate), from_first_sound(b, seconds, after_rate)
        seconds = min(len(a) / before_rate, len(b) / after_rate)
        a, b = a[:int(seconds * before_rate)], b[:int(seconds * after_rate)]
    pa, pb = band_power(a, before_rate), band_power(b, after_rate)
    # Power per frame scales with the frame's length in samples: bring both to the same duration.
    scale_b = (16384 if before_rate > 24000 else 8192) / (16384 if after_rate > 24000 else 8192)
    pb = [p * scale_b for p in pb]
    top = max(pa)
    db = lambda p: 10 * math.log10(p / top) if p > 0 else float('-inf')
    print('band Hz    before dB   after dB')
    for centre, x, y in zip(BANDS, pa, pb):
        print('%7.0f   %8.1f   %8.1f' % (centre, db(x), db(y)))
    print('RMS        %8.0f   %8.0f' % (rms(a), rms(b)))
    print('RMS by second:')
    for second in range(int(min(len(a) / before_rate, len(b) / after_rate))):
        print('%3d s  %6.0f  %6.0f' % (second, rms(a[second * before_rate:(second + 1) * before_rate]),
                                       rms(b[second * after_rate:(second + 1) * after_rate])))
    if limit is not None:
        worst = max(abs(db(x) - db(y)) for centre, x, y in zip(BANDS, pa, pb) if db(x) > -40 and centre < below)
        print('largest difference of a band within 40 dB of the loudest: %.2f dB (at most %.2f)' % (worst, limit))
        sys.exit(0 if worst <= limit else 1)


if __name__ == '__main__':
    main()
