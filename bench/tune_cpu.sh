#!/usr/bin/env bash
# tune_cpu.sh: the CPU of a running game with its music, against the floor of a bare program that
# ticks the same timers and plays the same tune through SDL_mixer (tune_floor), for one build or
# several side by side, as when a change to the synthesizer is weighed.
#
#   bench/tune_cpu.sh BUILD_DIR...      (ROUNDS=5 rounds, SECONDS_A_RUN=15)
#
# Each BUILD_DIR is a CMake build folder with its bench/index_cpu built; the first one's
# bench/tune_floor is the floor. Under Xvfb with openbox, each round runs the floor, then each
# build's game ("index_cpu --phases game"), one after the other, all through SDL's disk driver;
# a build's ratio in a round is its game's CPU over that round's floor, so that the machine's
# drift between rounds moves both. It prints every run and, per build, the median CPU and the
# median ratio; the disk driver's output of each run is kept in the work folder it names.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
rounds=${ROUNDS:-5}
seconds=${SECONDS_A_RUN:-15}
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR..." >&2; exit 2; }
builds=()
for build in "$@"; do
    [ -x "$build/bench/index_cpu" ] || { echo "no bench/index_cpu in $build" >&2; exit 2; }
    builds+=("$(cd "$build" && pwd)")
done
floor=${builds[0]}/bench/tune_floor
[ -x "$floor" ] || { echo "no bench/tune_floor in ${builds[0]}" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tune-cpu.XXXXXX")
source "$root/scripts/x-desktop-here.sh"
x_desktop_start openbox
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work SDL_AUDIODRIVER=disk
# The programs open the sounds from the working directory, as the game does.
cp "$root/data/siren.wav" "$root/data/rytmozan.mid" "$work/"
cd "$work"

field() { sed -n "s/^result $1 cpu=\([0-9.]*\).*/\1/p"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for round in $(seq "$rounds"); do
    floor_cpu=$(SDL_DISKAUDIOFILE=$work/floor-$round.raw "$floor" --seconds "$seconds" 2>/dev/null | field floor || true)
    [ -n "$floor_cpu" ] || { echo "tune_floor gave no figure" >&2; exit 1; }
    echo "round $round: floor $floor_cpu %" >&2
    for n in "${!builds[@]}"; do
        cpu=$(SDL_DISKAUDIOFILE=$work/game$n-$round.raw "${builds[$n]}/bench/index_cpu" --phases game \
            --seconds "$seconds" 2>/dev/null | field game || true)
        [ -n "$cpu" ] || { echo "${builds[$n]}/bench/index_cpu gave no figure" >&2; exit 1; }
        echo "round $round: ${builds[$n]} $cpu %" >&2
        echo "$n $cpu $floor_cpu" >>"$work/runs.txt"
    done
done

echo "CPU of a running game against tune_floor, $rounds rounds of $seconds s, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "floor: median $(awk '$1 == 0 { print $3 }' "$work/runs.txt" | median) % of a core"
for n in "${!builds[@]}"; do
    printf '%s: median %s %% of a core, %s× the floor (ratios %s)\n' "${builds[$n]}" \
        "$(awk -v n="$n" '$1 == n { print $2 }' "$work/runs.txt" | median)" \
        "$(awk -v n="$n" '$1 == n { printf "%.3f\n", $2 / $3 }' "$work/runs.txt" | median)" \
        "$(awk -v n="$n" '$1 == n { printf "%.2f\n", $2 / $3 }' "$work/runs.txt" | paste -sd,)"
done
echo "the disk driver's output of each run: $work"
