#!/usr/bin/env bash
# clean-exit.sh: ends the program with Ctrl+Q ("Konec" in the game menu) while the siren and the
# music both play, RUNS times, and measures from the key press until the process has ended.
# Every run must end with status 0, both sounds loaded and none failing; a program that has not
# ended 5 s after the key is killed, and fails. The times are printed, and how many runs kept
# within GOAL_MS where one is given, but never judged: on a loaded machine they say nothing of
# the program.
#
#   clean-exit.sh GAME DATA_DIR [RUNS] [disk|dummy] [GOAL_MS]
#
# Each run: the program starts in a folder with its sounds (the siren, 3 s long, starts with the
# welcome screen), "Vstoupit" is clicked 0.3 s after the welcome screen is mapped (the music
# starts), and Ctrl+Q goes to the main window 0.7 s after it is mapped, while both sound. With the
# disk driver SDL writes the mixed sound to a file, which shows that something was sounding.
# The time is measured around xdotool: from just before it starts until the process is reaped, so
# it includes xdotool's own start (a few ms); the time xdotool itself took is printed beside it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game=$1
data=$2
runs=${3:-5}
audio=${4:-disk}
goal=${5:-}
source "$here/xgame.sh"
xg_init
xg_start_display wm
xg_prepare_game "$game" "$data"
export XDG_RUNTIME_DIR=$XG_WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export SDL_AUDIODRIVER=$audio
export QT_LOGGING_RULES="tonovka.sound.debug=true"

micros() { local t=${EPOCHREALTIME/./}; echo $((10#$t)); }
# The loudest sample in the last quarter of a second of a raw 16-bit stereo file at 44100 Hz.
last_peak() {
    perl -e 'open(my $f, "<", $ARGV[0]) or die; binmode $f; my $size = -s $f; my $n = 44100 * 4 / 4;
             $n = $size if $n > $size; seek($f, $size - $n, 0); read($f, my $b, $n);
             my $p = 0; for (unpack("s<*", $b)) { my $a = abs; $p = $a if $a > $p } print "$p\n"' "$1"
}

good=0
times=()
failed=0
for run in $(seq "$runs"); do
    export SDL_DISKAUDIOFILE=$XG_WORK/sound-$run.raw
    xg_start_game
    if ! xg_wait_window Form1 20; then failed=$((failed + 1)); kill "$XG_GAME_PID" 2>/dev/null; continue; fi
    sleep 0.3
    if ! xg_enter; then failed=$((failed + 1)); kill "$XG_GAME_PID" 2>/dev/null; continue; fi
    sleep 0.7
    xg_focus Tonovka || true
    start=$(micros)
    xdotool key --delay 0 ctrl+q
    sent=$(micros)
    status=0
    # wait returns as soon as the process is reaped; a process that does not end is killed.
    ( sleep 5; kill -9 "$XG_GAME_PID" 2>/dev/null ) &
    watchdog=$!
    disown "$watchdog"
    wait "$XG_GAME_PID" || status=$?
    end=$(micros)
    kill "$watchdog" 2>/dev/null || true
    ms=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) / 1000 }')
    key_ms=$(awk -v a="$start" -v b="$sent" 'BEGIN { printf "%.1f", (b - a) / 1000 }')
    sounding=
    if [ "$audio" = disk ]; then
        sounding=" peak of the last 0.25 s $(last_peak "$SDL_DISKAUDIOFILE"),"
        rm -f "$SDL_DISKAUDIOFILE"
    fi
    music=$(grep -c "Loading midifile" "$XG_WORK/game.log" || true)
    silent=$(grep -cE 'stays silent|cannot play|no sound' "$XG_WORK/game.log" || true)
    echo "run $run: status $status, $ms ms after the key (xdotool took $key_ms ms),$sounding music parsed $music, sound problems $silent"
    times+=("$ms")
    if [ "$status" = 0 ] && [ "$silent" = 0 ] && [ "$music" -gt 0 ]; then
        good=$((good + 1))
    fi
done
printf '%s\n' "${times[@]}" | sort -g | awk -v runs="$runs" -v good="$good" -v goal="$goal" '
    NF { v[++n] = $1; kept += (goal != "" && $1 <= goal) }
    END {
        printf "%d of %d runs ended with status 0, both sounds loaded and none failing\n", good, runs
        if (n == 0) { print "no run came as far as Ctrl+Q"; exit }
        median = (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
        printf "exit after Ctrl+Q: min %.1f ms, median %.1f ms, max %.1f ms over %d runs\n", v[1], median, v[n], n
        if (goal != "") printf "%d of %d runs within the goal of %d ms\n", kept, runs, goal
    }'
[ "$good" = "$runs" ]
