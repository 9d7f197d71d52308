#!/usr/bin/env bash
# figures.sh: builds Tonovka as the Debian package builds it, runs every performance probe under
# Xvfb with openbox, and prints the table of figures with each goal and whether it is met.
#
#   bench/figures.sh    (RUNS=11 launch and click runs, CPU_RUNS=5 CPU runs, SPREAD_RUNS=3,
#                        SOUND_RUNS=5 first-sound runs; medians)
#
# FLAGS=package (the default) builds with the compiler and linker flags of debian/rules (Debian's
# hardening, -O2); FLAGS=release builds a plain CMake Release (-O3), as scripts/run does.
#
# The launch, click, CPU and memory figures are measured twice, in the same run: with both sounds
# really playing through SDL's disk driver (the output files show that they played), and with no
# audio device (SDL's ALSA driver on a machine without a sound card).
# The probes:
#   index_cpu   process CPU of a running game (its music playing) against two bare 1 ms timers
#               in the same run, the paint events while only the hidden cursors change, the
#               cursor ticks per second, and (its spread phase) the windows of 30 placements;
#   mapwait     launch until the welcome screen ("Form1") is mapped, against one_window (one
#               window and two 1 ms precise timers), and the release of a click on "Vstoupit"
#               until the main window ("Tonovka") is mapped;
#   time -v     peak RSS of the program over one whole loop of the tune (60 s) during play:
#               "Vstoupit", Ctrl+N, and every window of the house clicked in turn as a quick
#               player would, which keeps the game from running out, until 70 s after "Vstoupit";
#   playsounds  "open" until the first sound in the disk driver's output, for the siren as the
#               program's first sound, and for the music with the audio already started;
#   core_bench  one cursor tick of the game core (median of 5 repetitions).
# The machine is shared: figures are medians, and the load average is printed with them.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
flags=${FLAGS:-package}
build=${BUILD_DIR:-$root/build/bench-$flags}
runs=${RUNS:-11}
cpu_runs=${CPU_RUNS:-5}
spread_runs=${SPREAD_RUNS:-3}
sound_runs=${SOUND_RUNS:-5}
bin=$build/bench
game=$build/shell/tonovka

case $flags in
    package)
        # The flags come from debian/rules, run from the source folder as dh runs it; CMake
        # reads no CPPFLAGS, so they join the compiler's flags as debhelper joins them.
        buildflags=$(cd "$root" && make -s -f debian/rules print-buildflags)
        config=(-DCMAKE_BUILD_TYPE=None
            "-DCMAKE_CXX_FLAGS=$(eval "$buildflags" && echo "$CXXFLAGS $CPPFLAGS")"
            "-DCMAKE_EXE_LINKER_FLAGS=$(eval "$buildflags" && echo "$LDFLAGS")") ;;
    release) config=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS= -DCMAKE_EXE_LINKER_FLAGS=) ;;
    *) echo "FLAGS is package or release, not $flags" >&2; exit 2 ;;
esac
echo "building with the $flags flags in $build: ${config[*]}" >&2
cmake -S "$root" -B "$build" "${config[@]}" -DTONOVKA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target tonovka tonovka_playsounds core_bench index_cpu one_window mapwait house-layout >/dev/null

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
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
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
# Where the house's windows lie in the main window: okno1=(X Y W H) and so on.
eval "$("$build/tools/houselayout/house-layout" 2>/dev/null)"
[ ${#okno15[@]} -eq 4 ] || { echo "house-layout printed no layout" >&2; exit 1; }
# Plays until the tune has played through: Ctrl+N, then every window of the house clicked in
# turn, over and over, until 70 s after "Vstoupit" (the tune lasts 60 s). Notes whether the game
# ran out of time meanwhile, which would have closed the tune.
play_through_the_tune() { # MODE
    local until=$((SECONDS + 70)) x y n clicks=()
    read -r x y < <(xwininfo -name Tonovka | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
    for n in $(seq 15); do
        local -n place="okno$n"
        clicks+=(mousemove $((x + place[0] + place[2] / 2)) $((y + place[1] + place[3] / 2)) click 1)
    done
    xdotool key --clearmodifiers ctrl+n
    while [ "$SECONDS" -lt "$until" ]; do xdotool "${clicks[@]}"; done
    xwininfo -name "Gejm Ouvr" >/dev/null 2>&1 && echo "game over" >"$work/ran-out-$1.txt"
    return 0
}

# Each figure with sound (SDL's disk driver) and without an audio device; the output files of
# the disk driver are kept per run to show that the sounds played.
modes=(disk alsa)
audio() { # MODE NAME: the environment of a run with this audio
    echo "SDL_AUDIODRIVER=$1 SDL_DISKAUDIOFILE=$work/$2.raw"
}

for mode in "${modes[@]}"; do
    echo "[$mode] CPU, repaints and ticks: $cpu_runs runs of index_cpu" >&2
    for i in $(seq "$cpu_runs"); do
        (cd "$work/game" && env $(audio "$mode" "cpu-$i") "$bin/index_cpu" --xserver-pid "$xpid" 2>/dev/null) |
            tee -a "$work/cpu-$mode.txt" >&2
    done
    echo "[$mode] launch until mapped: $runs runs each" >&2
    for i in $(seq "$runs"); do
        { "$bin/mapwait" --kill Minimal -- "$bin/one_window" || true; } | field map_ms >>"$work/launch_bare-$mode.txt"
        { cd "$work/game" && env $(audio "$mode" "launch-$i") "$bin/mapwait" --kill Form1 -- "$game" 2>/dev/null || true; } |
            field map_ms >>"$work/launch_game-$mode.txt"
    done
    echo "[$mode] click on Vstoupit until the main window is mapped: $runs runs" >&2
    for i in $(seq "$runs"); do
        (cd "$work/game" && exec env $(audio "$mode" "click-$i") "$game" 2>/dev/null) &
        gpid=$!
        wait_for_window Form1
        sleep 1
        click_vstoupit mousedown 1
        sleep 0.2
        out=$("$bin/mapwait" Tonovka -- xdotool mouseup 1 || true)
        echo "$out" | field map_ms >>"$work/click_upper-$mode.txt"
        # The release left before xdotool exited, so the map came at most map_ms, at least map_ms - exit_ms after it.
        echo "$out" | awk -F'[= ]' '$4 >= 0 && $4 <= $2 { print $2 - $4 }' >>"$work/click_lower-$mode.txt"
        kill "$gpid" 2>/dev/null || true
        wait "$gpid" 2>/dev/null || true
    done
    echo "[$mode] peak RSS over the whole tune, a game being played" >&2
    (cd "$work/game" && exec env $(audio "$mode" "rss") /usr/bin/time -v -o "$work/time-$mode.txt" "$game" 2>/dev/null) &
    tpid=$!
    wait_for_window Form1
    sleep 0.5 # the siren lasts 3 s: the tune starts while it sounds
    click_vstoupit click 1
    wait_for_window Tonovka
    play_through_the_tune "$mode"
    wmctrl -c Tonovka
    wait "$tpid" || true
done

echo "placement spread: $spread_runs runs of index_cpu --phases spread" >&2
for i in $(seq "$spread_runs"); do SDL_AUDIODRIVER=dummy "$bin/index_cpu" --phases spread 2>/dev/null | tee -a "$work/spread.txt" >&2; done

echo "open until the first sound: $sound_runs runs for each sound" >&2
for i in $(seq "$sound_runs"); do
    for sound in siren music; do
        if [[ $sound == siren ]]; then args=(siren.wav none.mid); else args=(--warm none.wav rytmozan.mid); fi
        rm -f "$work/first-$sound.raw"
        (cd "$work/game" && env $(audio disk "first-$sound") "$build/tools/playsounds" --watch "$work/first-$sound.raw" \
            --seconds 2 "${args[@]}" 2>/dev/null) | sed -n 's/^first sound in .* \([0-9.]*\) ms after.*/\1/p' >>"$work/first-$sound.txt"
    done
done

echo "core cursor tick" >&2
"$bin/core_bench" --benchmark_filter=CursorTick --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null | tee "$work/core.txt" >&2

# Medians over the runs, per audio mode.
for mode in "${modes[@]}"; do
    cpu_of() { grep "^result $1 " "$work/cpu-$mode.txt" | field "$2" | median; }
    declare "bare_cpu_$mode=$(cpu_of bare cpu)" "game_cpu_$mode=$(cpu_of game cpu)"
    declare "cpu_ratio_$mode=$(paste <(grep '^result bare ' "$work/cpu-$mode.txt" | field cpu) \
        <(grep '^result game ' "$work/cpu-$mode.txt" | field cpu) | awk '{ print $2 / $1 }' | median)"
    declare "launch_bare_$mode=$(median <"$work/launch_bare-$mode.txt")" "launch_game_$mode=$(median <"$work/launch_game-$mode.txt")"
    declare "click_upper_$mode=$(median <"$work/click_upper-$mode.txt")" "click_lower_$mode=$(median <"$work/click_lower-$mode.txt")"
    declare "rss_kb_$mode=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time-$mode.txt")"
    declare "exit_status_$mode=$(awk -F': ' '/Exit status/ { print $2 }' "$work/time-$mode.txt")"
done
cpu_of() { grep "^result $1 " "$work/cpu-disk.txt" | field "$2" | median; }
paused_cpu=$(cpu_of paused cpu); game_x=$(cpu_of game xcpu); bare_x=$(cpu_of bare xcpu)
game_paints=$(cpu_of game paints); paused_paints=$(cpu_of paused paints)
man_ticks=$(cpu_of game manticks); woman_ticks=$(cpu_of game womanticks); bare_ticks=$(cpu_of bare manticks)
men=$(field men <"$work/spread.txt" | median); women=$(field women <"$work/spread.txt" | median)
men_all=$(field men <"$work/spread.txt" | paste -sd,); women_all=$(field women <"$work/spread.txt" | paste -sd,)
launch_ratio_disk=$(awk -v g="$launch_game_disk" -v b="$launch_bare_disk" 'BEGIN { print g / b }')
launch_ratio_alsa=$(awk -v g="$launch_game_alsa" -v b="$launch_bare_alsa" 'BEGIN { print g / b }')
first_siren=$(median <"$work/first-siren.txt"); first_music=$(median <"$work/first-music.txt")
first_siren_all=$(paste -sd, <"$work/first-siren.txt"); first_music_all=$(paste -sd, <"$work/first-music.txt")
# Seconds of sound that the disk driver wrote in the memory run, the loudest sample of the tune's
# last seconds there (it starts half a second or more after the output), and the loudest sample
# of the CPU runs.
sound_seconds=$(($(stat -c %s "$work/rss.raw" 2>/dev/null || echo 0) / (44100 * 4)))
tune_end_loudest=$(od -An -v -td2 -w2 -j $((55 * 44100 * 4)) -N $((5 * 44100 * 4)) "$work/rss.raw" 2>/dev/null |
    awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
ran_out=$(cat "$work"/ran-out-*.txt 2>/dev/null || true)
loudest=$(cat "$work"/cpu-*.raw 2>/dev/null | od -An -v -td2 -w2 | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
# Google Benchmark's CPU column: the wall-clock column also counts the time that other
# processes on this shared machine take the core away.
man_ns=$(awk '/^manCursorTick_median/ { print $4 }' "$work/core.txt")
woman_ns=$(awk '/^womanCursorTick_median/ { print $4 }' "$work/core.txt")
man_wall=$(awk '/^manCursorTick_median/ { print $2 }' "$work/core.txt")
woman_wall=$(awk '/^womanCursorTick_median/ { print $2 }' "$work/core.txt")

met() { awk "BEGIN { exit !($1) }" && echo "met" || echo "NOT met"; }
echo
echo "Tonovka performance figures, $flags build ($(date -u +%F), Xvfb + openbox, load average $(cut -d' ' -f1-3 /proc/loadavg))"
echo
echo "| figure | with both sounds playing | with no audio device | goal | |"
echo "|---|---|---|---|---|"
printf '| launch until the welcome screen is mapped, against one window with two 1 ms timers | %.0f vs %.0f ms: %.2f× | %.0f vs %.0f ms: %.2f× | ≤ 1.3× | %s |\n' \
    "$launch_game_disk" "$launch_bare_disk" "$launch_ratio_disk" "$launch_game_alsa" "$launch_bare_alsa" "$launch_ratio_alsa" \
    "$(met "$launch_ratio_disk <= 1.3")"
printf '| peak RSS over the whole tune, a game being played | %.1f MB (%s s of sound written, loudest sample %s in the tune'"'"'s last seconds%s) | %.1f MB | ≤ 45 MB | %s |\n' \
    "$(awk -v k="$rss_kb_disk" 'BEGIN { print k / 1024 }')" "$sound_seconds" "$tune_end_loudest" "${ran_out:+; the game ran out}" \
    "$(awk -v k="$rss_kb_alsa" 'BEGIN { print k / 1024 }')" "$(met "$rss_kb_disk <= 45 * 1024 && $tune_end_loudest > 64 && ${#ran_out} == 0")"
printf '| CPU of a running game, against the same bare timers | %.2f vs %.2f %%: %.2f× (loudest sample %s) | %.2f vs %.2f %%: %.2f× | ≤ 1.3× | %s |\n' \
    "$game_cpu_disk" "$bare_cpu_disk" "$cpu_ratio_disk" "$loudest" "$game_cpu_alsa" "$bare_cpu_alsa" "$cpu_ratio_alsa" \
    "$(met "$cpu_ratio_disk <= 1.3")"
printf '| "Vstoupit" until the main window is mapped | %.0f to %.0f ms | %.0f to %.0f ms | ≤ 100 ms | %s |\n' \
    "$click_lower_disk" "$click_upper_disk" "$click_lower_alsa" "$click_upper_alsa" "$(met "$click_upper_disk <= 100")"
printf '| "open" until the first sound: siren (the first sound), music (audio started) | siren %.0f ms, music %.0f ms (runs: %s; %s) | | < 100 ms | %s |\n' \
    "$first_siren" "$first_music" "$first_siren_all" "$first_music_all" "$(met "$first_siren < 100 && $first_music < 100")"
printf '| repaints per second, only the cursors changing | %.2f (%.2f with the game running, %.2f %% CPU paused; X server %.2f %% vs %.2f %%) | | 0 | %s |\n' \
    "$paused_paints" "$game_paints" "$paused_cpu" "$game_x" "$bare_x" "$(met "$paused_paints == 0")"
printf '| ticks per second of each 1 ms timer | man %.0f, woman %.0f (bare timers %.0f) | | reported | |\n' \
    "$man_ticks" "$woman_ticks" "$bare_ticks"
printf '| placement spread, 30 placements | men %s, women %s of 15 windows (runs: men %s, women %s) | | ≥ 12 | %s |\n' \
    "$men" "$women" "$men_all" "$women_all" "$(met "$men >= 12 && $women >= 12")"
printf '| one cursor tick in the core | man %s ns, woman %s ns CPU time (wall %s, %s ns) | | ≤ 50 ns | %s |\n' \
    "$man_ns" "$woman_ns" "$man_wall" "$woman_wall" "$(met "$man_ns <= 50 && $woman_ns <= 50")"
echo
grep '^woman placed' "$work/spread.txt" | sed 's/^/spread: /' || true
echo "medians of $cpu_runs CPU runs of 10 s a phase, $spread_runs spread runs, $runs launch and click runs and $sound_runs first-sound runs; MB = 2^20 bytes"
