#!/usr/bin/env python3
"""spectrum.py: compares what two captures of SDL's disk driver sound like, band by band.

    bench/spectrum.py BEFORE.raw RATE AFTER.raw RATE

Each file holds signed 16-bit stereo samples at its rate. For each, the script averages the power
spectrum of the two channels mixed to one over frames of about 93 ms, and prints the level of each
octave band in dB against the loudest band of the first file, the RMS level, and the loudness
in time (RMS of each second) side by side."""
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
    size = 2048 if rate <= 24000 else 4096
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


def main():
    before, before_rate, after, after_rate = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
    a, b = mono(before), mono(after)
    pa, pb = band_power(a, before_rate), band_power(b, after_rate)
    # Power per frame scales with the frame's length in samples: bring both to the same duration.
    scale_b = (4096 if before_rate > 24000 else 2048) / (4096 if after_rate > 24000 else 2048)
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


if __name__ == '__main__':
    main()
