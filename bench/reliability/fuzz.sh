#!/usr/bin/env bash
# fuzz.sh: damaged copies of the game's two sounds (data/siren.wav, data/rytmozan.mid) and of
# the installed soundfont through the sound-file checks and the readers of tunes and soundfonts,
# and those that pass through the game's audio engine (the game's tune with each soundfont) and a
# second of playing each. Prints how many passed the checks, were refused by them, were loaded
# by the engine and were played, and any file that crashed or hung (kept in the build folder).
# A second run loads the refused files too, to show what the checks keep from SDL and FluidSynth.
#
#   bench/reliability/fuzz.sh [FILES] [SEED]          (3600 files, a third of each kind, seed 1)
#
# The short run of the same program is the CTest test reliability_sound_fuzz.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/rel}
files=${1:-3600}
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
    --keep "$build/fuzz-findings-unchecked" | grep -Ev '^  (WAV|MIDI|SF2) ' || status=1
exit "$status"
