#!/usr/bin/env bash
# fuzz.sh: damaged copies of the game's two sounds (data/siren.wav, data/rytmozan.mid) through
# the sound-file checks, and those that pass through the game's audio engine from memory and a
# second of playing each. Prints how many passed the checks, were refused by them, were loaded
# by the engine and were played, and any file that crashed or hung (kept in the build folder).
# A second run loads the refused files too, to show what the checks keep from SDL.
#
#   bench/reliability/fuzz.sh [FILES] [SEED]          (2400 files, seed 1 by default)
#
# The short run of the same program is the CTest test reliability_sound_fuzz.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/rel}
files=${1:-2400}
seed=${2:-1}

"$root/scripts/install-packages" build run
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTONOVKA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target sound_fuzz >/dev/null
fuzz=$build/bench/reliability/sound_fuzz

echo "== $files files, checked first, as in the program"
status=0
"$fuzz" --files "$files" --seed "$seed" --play-ms 1000 --timeout 30 --keep "$build/fuzz-findings" || status=1
echo
echo "== the same files, the refused ones loaded and played too (what the checks keep from the engine)"
"$fuzz" --files "$files" --seed "$seed" --play-ms 1000 --timeout 30 --unchecked \
    --keep "$build/fuzz-findings-unchecked" | grep -v '^  [WM]' || status=1
exit "$status"
