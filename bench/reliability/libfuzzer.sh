#!/usr/bin/env bash
# libfuzzer.sh: builds the libFuzzer target of the sound-file checks and the readers of tunes and
# soundfonts with clang (address and undefined-behaviour sanitizers) and runs it for a number of
# seconds, starting from the game's two sounds and a small soundfont made here. Not a test.
#
#   bench/reliability/libfuzzer.sh [SECONDS]        (60 by default)
#
# Needs clang-14 and its libFuzzer runtime, which CI does not install:
#   apt-get install clang-14 libclang-rt-14-dev
# A crash leaves its input in build/fuzz/findings; run the target on that file to see it again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/fuzz}
seconds=${1:-60}

if ! command -v clang++-14 >/dev/null || ! compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null; then
    echo "libfuzzer.sh needs clang-14 and libclang-rt-14-dev: apt-get install clang-14 libclang-rt-14-dev" >&2
    exit 2
fi
"$root/scripts/install-packages" build run
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTONOVKA_BUILD_BENCH=OFF -DTONOVKA_BUILD_FUZZER=ON >/dev/null
cmake --build "$build" -j2 --target fuzz_sound_file_check >/dev/null

corpus=$build/fuzz-corpus
findings=$build/findings
mkdir -p "$corpus" "$findings"
cp "$root/data/siren.wav" "$root/data/rytmozan.mid" "$corpus/"
# A whole soundfont of one preset, one instrument and one looped sample: the installed one is
# 6 MB, nearly all of it sample points, which would slow every run down and teach the fuzzer little.
python3 - "$corpus/bank.sf2" <<'PYTHON'
import math, struct, sys
def chunk(name, data):
    return name + struct.pack('<I', len(data)) + data + b'\0' * (len(data) % 2)
def named(name, size):
    return name.ljust(size, b'\0')
points = b''.join(struct.pack('<h', int(8000 * math.sin(i / 8))) for i in range(200)) + bytes(92)
lists = [
    (b'phdr', named(b'lead', 20) + struct.pack('<HHHIII', 0, 0, 0, 0, 0, 0)
              + named(b'EOP', 20) + struct.pack('<HHHIII', 0, 0, 1, 0, 0, 0)),
    (b'pbag', struct.pack('<HHHH', 0, 0, 1, 0)),
    (b'pmod', bytes(10)),
    (b'pgen', struct.pack('<HH', 41, 0) + bytes(4)),
    (b'inst', named(b'lead', 20) + struct.pack('<H', 0) + named(b'EOI', 20) + struct.pack('<H', 1)),
    (b'ibag', struct.pack('<HHHH', 0, 0, 1, 0)),
    (b'imod', bytes(10)),
    (b'igen', struct.pack('<HH', 53, 0) + bytes(4)),
    (b'shdr', named(b'sine', 20) + struct.pack('<IIIIIBbHH', 0, 200, 50, 150, 22050, 60, 0, 0, 1) + bytes(46)),
]
body = (b'sfbk' + chunk(b'LIST', b'INFO' + chunk(b'ifil', struct.pack('<HH', 2, 1)) + chunk(b'INAM', b'seed\0\0'))
        + chunk(b'LIST', b'sdta' + chunk(b'smpl', points))
        + chunk(b'LIST', b'pdta' + b''.join(chunk(name, data) for name, data in lists)))
open(sys.argv[1], 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
PYTHON
cd "$findings"
status=0
"$build/tests/reliability/fuzz_sound_file_check" "$corpus" -dict="$root/tests/reliability/sound.dict" \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/" >"$build/libfuzzer.log" 2>&1 || status=$?
grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::|==[0-9]+==|SUMMARY|Done|Test unit written)' "$build/libfuzzer.log" || true
echo "full output: $build/libfuzzer.log"
echo "corpus: $(ls "$corpus" | wc -l) files; findings: $(ls "$findings" | wc -l) files in $findings"
exit "$status"
