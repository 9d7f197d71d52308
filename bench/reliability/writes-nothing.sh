#!/usr/bin/env bash
# writes-nothing.sh: a whole game under strace in three surroundings, and what the program
# creates, changes or removes outside /dev, /proc and its runtime folder in each:
#   desktop         XDG_RUNTIME_DIR set, SDL chooses its audio driver (the CTest test
#                   reliability_writes_nothing runs this one)
#   no-runtime-dir  XDG_RUNTIME_DIR unset, SDL chooses its audio driver
#   dummy-audio     XDG_RUNTIME_DIR set, SDL_AUDIODRIVER=dummy
#
#   bench/reliability/writes-nothing.sh [SCENARIO...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/rel}
scenarios=("$@")
[ ${#scenarios[@]} -gt 0 ] || scenarios=(desktop no-runtime-dir dummy-audio)

"$root/scripts/install-packages" build run test || exit 1
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTONOVKA_BUILD_BENCH=OFF >/dev/null || exit 1
cmake --build "$build" -j2 --target tonovka >/dev/null || exit 1

verdicts=()
for scenario in "${scenarios[@]}"; do
    echo "== $scenario"
    if bash "$root/tests/reliability/writes-nothing.sh" "$build/shell/tonovka" "$root/data" "$scenario"; then
        verdicts+=("$scenario: nothing written")
    else
        verdicts+=("$scenario: WROTE (see above)")
    fi
    echo
done
printf '%s\n' "${verdicts[@]}"
