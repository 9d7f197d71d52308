#!/usr/bin/env bash
# clean-exit.sh: Ctrl+Q ("Konec", which calls endProgram) while the siren and the music both
# play, 50 times, each time measured from the key press until the process has ended. Prints each
# run, the distribution and how many kept to the goal: 50 of 50 with status 0 within 200 ms.
#
#   bench/reliability/clean-exit.sh [RUNS] [disk|dummy]      (50 runs, SDL's disk driver)
#
# The 5-run version is the CTest test reliability_clean_exit.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/rel}
runs=${1:-50}
audio=${2:-disk}

"$root/scripts/install-packages" build run test
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTONOVKA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target tonovka >/dev/null
bash "$root/tests/reliability/clean-exit.sh" "$build/shell/tonovka" "$root/data" "$runs" "$audio" 200
