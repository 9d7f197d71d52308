#!/usr/bin/env bash
# libfuzzer.sh: builds the libFuzzer target of the sound-file checks with clang (address and
# undefined-behaviour sanitizers) and runs it for a number of seconds, starting from the game's
# two sounds. Not a test.
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
cd "$findings"
status=0
"$build/tests/reliability/fuzz_sound_file_check" "$corpus" -dict="$root/tests/reliability/sound.dict" \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/" >"$build/libfuzzer.log" 2>&1 || status=$?
grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::|==[0-9]+==|SUMMARY|Done|Test unit written)' "$build/libfuzzer.log" || true
echo "full output: $build/libfuzzer.log"
echo "corpus: $(ls "$corpus" | wc -l) files; findings: $(ls "$findings" | wc -l) files in $findings"
exit "$status"
