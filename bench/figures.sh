#!/usr/bin/env bash
# figures.sh: builds Tonovka for Release, runs every performance probe under Xvfb with openbox,
# and prints the table of figures with each goal and whether it is met.
#
#   bench/figures.sh    (RUNS=11 launch and click runs, CPU_RUNS=5 CPU runs, SPREAD_RUNS=3; medians)
#
# The probes:
#   index_cpu   process CPU of a running game against two bare 1 ms timers in the same run, the
#               paint events while only the hidden cursors change, the cursor ticks per second,
#               and (its spread phase) the windows of 30 placements of men and of women;
#   mapwait     launch until the welcome screen ("Form1") is mapped, against one_window, and
#               the release of a click on "Vstoupit" until the main window ("Tonovka") is mapped;
#   time -v     peak RSS of the program clicked through "Vstoupit", both sounds playing through
#               SDL's disk driver (the output file shows that they played);
#   core_bench  one cursor tick of the game core (median of 5 repetitions).
# The machine is shared: figures are medians, and the load average is printed with them.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${BUILD_DIR:-$root/build/bench}
runs=${RUNS:-11}
cpu_runs=${CPU_RUNS:-5}
spread_runs=${SPREAD_RUNS:-3}
bin=$build/bench
game=$build/shell/tonovka

echo "building Release in $build" >&2
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTONOVKA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target tonovka core_bench index_cpu one_window mapwait >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# A desktop of our own with openbox (scripts/x-desktop); the X server's CPU is measured too.
source "$root/scripts/x-desktop-here.sh"
x_desktop_start openbox
pids+=("$X_DESKTOP_PID")
xpid=$(pgrep -P "$X_DESKTOP_PID" -x Xvfb)
export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work
# The program opens its sounds from the working directory.
mkdir "$work/game"
cp "$root/data/siren.wav" "$root/data/rytmozan.mid" "$work/game/"

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/\(.* \|^\)$1=\([-0-9.]*\).*/\2/p"; } # the value of key=value in each line
# The welcome screen's "Vstoupit" button centre, from the screen's position on the root window.
click_vstoupit() {
    local x y
    x=$(xwininfo -name Form1 | awk '/Absolute upper-left X/ { print $4 }')
    y=$(xwininfo -name Form1 | awk '/Absolute upper-left Y/ { print $4 }')
    xdotool mousemove $((x + 48)) $((y + 60))
    xdotool "$@"
}
wait_for_window() { for _ in $(seq 200); do xwininfo -name "$1" >/dev/null 2>&1 && return 0; sleep 0.02; done; return 1; }

echo "CPU, repaints and ticks: $cpu_runs runs of index_cpu" >&2
for i in $(seq "$cpu_runs"); do "$bin/index_cpu" --xserver-pid "$xpid" 2>/dev/null | tee -a "$work/cpu.txt" >&2; done
echo "placement spread: $spread_runs runs of index_cpu --phases spread" >&2
for i in $(seq "$spread_runs"); do "$bin/index_cpu" --phases spread 2>/dev/null | tee -a "$work/spread.txt" >&2; done

echo "launch until mapped: $runs runs each" >&2
for i in $(seq "$runs"); do
    { "$bin/mapwait" --kill Minimal -- "$bin/one_window" || true; } | field map_ms >>"$work/launch_bare.txt"
    { cd "$work/game" && "$bin/mapwait" --kill Form1 -- "$game" 2>/dev/null || true; } | field map_ms >>"$work/launch_game.txt"
done

echo "click on Vstoupit until the main window is mapped: $runs runs" >&2
for i in $(seq "$runs"); do
    (cd "$work/game" && exec "$game" 2>/dev/null) &
    gpid=$!
    wait_for_window Form1
    sleep 1
    click_vstoupit mousedown 1
    sleep 0.2
    out=$("$bin/mapwait" Tonovka -- xdotool mouseup 1 || true)
    echo "$out" | field map_ms >>"$work/click_upper.txt"
    # The release left before xdotool exited, so the map came at most map_ms, at least map_ms - exit_ms after it.
    echo "$out" | awk -F'[= ]' '$4 >= 0 && $4 <= $2 { print $2 - $4 }' >>"$work/click_lower.txt"
    kill "$gpid" 2>/dev/null || true
    wait "$gpid" 2>/dev/null || true
done

echo "peak RSS with both sounds playing" >&2
(cd "$work/game" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" \
    exec /usr/bin/time -v -o "$work/time.txt" "$game" 2>/dev/null) &
tpid=$!
wait_for_window Form1
sleep 0.5 # the siren lasts 3 s: the tune starts while it sounds
click_vstoupit click 1
wait_for_window Tonovka
sleep 5
wmctrl -c Tonovka
wait "$tpid" || true
rss_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
exit_status=$(awk -F': ' '/Exit status/ { print $2 }' "$work/time.txt")
sound_bytes=$(stat -c %s "$work/out.raw" 2>/dev/null || echo 0)

echo "core cursor tick" >&2
"$bin/core_bench" --benchmark_filter=CursorTick --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null | tee "$work/core.txt" >&2

# Medians over the runs.
cpu_of() { grep "^result $1 " "$work/cpu.txt" | field "$2" | median; }
bare_cpu=$(cpu_of bare cpu); game_cpu=$(cpu_of game cpu); paused_cpu=$(cpu_of paused cpu)
bare_x=$(cpu_of bare xcpu); game_x=$(cpu_of game xcpu)
ratio=$(paste <(grep '^result bare ' "$work/cpu.txt" | field cpu) <(grep '^result game ' "$work/cpu.txt" | field cpu) |
    awk '{ print $2 / $1 }' | median)
game_paints=$(cpu_of game paints); paused_paints=$(cpu_of paused paints)
man_ticks=$(cpu_of game manticks); woman_ticks=$(cpu_of game womanticks); bare_ticks=$(cpu_of bare manticks)
men=$(field men <"$work/spread.txt" | median); women=$(field women <"$work/spread.txt" | median)
men_all=$(field men <"$work/spread.txt" | paste -sd,); women_all=$(field women <"$work/spread.txt" | paste -sd,)
launch_bare=$(median <"$work/launch_bare.txt"); launch_game=$(median <"$work/launch_game.txt")
launch_ratio=$(awk -v g="$launch_game" -v b="$launch_bare" 'BEGIN { print g / b }')
click_upper=$(median <"$work/click_upper.txt"); click_lower=$(median <"$work/click_lower.txt")
# Google Benchmark's CPU column: the wall-clock column also counts the time that other
# processes on this shared machine take the core away.
man_ns=$(awk '/^manCursorTick_median/ { print $4 }' "$work/core.txt")
woman_ns=$(awk '/^womanCursorTick_median/ { print $4 }' "$work/core.txt")
man_wall=$(awk '/^manCursorTick_median/ { print $2 }' "$work/core.txt")
woman_wall=$(awk '/^womanCursorTick_median/ { print $2 }' "$work/core.txt")

met() { awk "BEGIN { exit !($1) }" && echo "met" || echo "NOT met"; }
echo
echo "Tonovka performance figures ($(date -u +%F), Xvfb + openbox, load average $(cut -d' ' -f1-3 /proc/loadavg))"
echo
echo "| figure | measured | goal | |"
echo "|---|---|---|---|"
printf '| CPU of a running game | %.2f %% of a core vs %.2f %% bare: %.2f× (X server %.2f %% vs %.2f %%) | ≤ 1.3× | %s |\n' \
    "$game_cpu" "$bare_cpu" "$ratio" "$game_x" "$bare_x" "$(met "$ratio <= 1.3")"
printf '| repaints per second, only the cursors changing | %.2f (%.2f with the game running, %.2f %% CPU paused) | 0 | %s |\n' \
    "$paused_paints" "$game_paints" "$paused_cpu" "$(met "$paused_paints == 0")"
printf '| launch until the welcome screen is mapped | %.0f ms vs %.0f ms for one window: %.2f× | ≤ 1.5× | %s |\n' \
    "$launch_game" "$launch_bare" "$launch_ratio" "$(met "$launch_ratio <= 1.5")"
printf '| click on "Vstoupit" until the main window is mapped | %.0f to %.0f ms | ≤ 100 ms | %s |\n' \
    "$click_lower" "$click_upper" "$(met "$click_upper <= 100")"
printf '| peak RSS, both sounds playing | %.1f MB (exit status %s, %s bytes of sound written) | ≤ 50 MB | %s |\n' \
    "$(awk -v k="$rss_kb" 'BEGIN { print k / 1024 }')" "$exit_status" "$sound_bytes" \
    "$(met "$rss_kb <= 50 * 1024 && $sound_bytes > 0")"
printf '| ticks per second of each 1 ms timer | man %.0f, woman %.0f (bare timers %.0f) | reported | |\n' \
    "$man_ticks" "$woman_ticks" "$bare_ticks"
printf '| placement spread, 30 placements | men %s, women %s of 15 windows (runs: men %s, women %s) | ≥ 12 | %s |\n' \
    "$men" "$women" "$men_all" "$women_all" "$(met "$men >= 12 && $women >= 12")"
printf '| one cursor tick in the core | man %s ns, woman %s ns CPU time (wall %s, %s ns) | ≤ 50 ns | %s |\n' \
    "$man_ns" "$woman_ns" "$man_wall" "$woman_wall" "$(met "$man_ns <= 50 && $woman_ns <= 50")"
echo
grep '^woman placed' "$work/spread.txt" | sed 's/^/spread: /' || true
echo "medians of $cpu_runs CPU runs of 10 s a phase, $spread_runs spread runs and $runs launch and click runs; MB = 2^20 bytes"
