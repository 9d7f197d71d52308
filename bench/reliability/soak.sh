#!/usr/bin/env bash
# soak.sh: one long game on a private openbox desktop. A click on a window of the house every few
# seconds, the program's resident memory (VmRSS) once a minute, and at the end a check that a
# round of clicks still changes the score. Not a test: it takes half an hour by default.
#
#   bench/reliability/soak.sh [--minutes N] [--click-every SECONDS] [--audio dummy|disk]
#
# The game is never ended by the clock: when the time runs out the end screen comes up and the
# game goes on behind it, so the end screen (and the winner's, should the score reach 210) is
# moved into the corner, off the house, and the clicks go on.
# The goal is a growth of at most 2 MB (2048 kB) from the first minute's sample to the last.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/rel}
minutes=30
click_every=3
audio=dummy
while [ $# -gt 0 ]; do
    case "$1" in
    --minutes) minutes=$2; shift 2 ;;
    --click-every) click_every=$2; shift 2 ;;
    --audio) audio=$2; shift 2 ;;
    *) echo "usage: $0 [--minutes N] [--click-every SECONDS] [--audio dummy|disk]" >&2; exit 2 ;;
    esac
done

"$root/scripts/install-packages" build run test
if [ -z "${GAME:-}" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTONOVKA_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j2 --target tonovka house-layout >/dev/null
    GAME=$build/shell/tonovka
fi

source "$root/tests/reliability/xgame.sh"
xg_init
xg_start_display wm
xg_prepare_game "$GAME" "$root/data"
export XDG_RUNTIME_DIR=$XG_WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
if [ "$audio" = disk ]; then
    # The mixed sound goes nowhere, at the pace of a real device, through a pipe: SDL's disk
    # driver refuses /dev/null since SDL 2.32.
    mkfifo "$XG_WORK/sound"
    cat "$XG_WORK/sound" >/dev/null &
    XG_PIDS+=($!)
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$XG_WORK/sound
else
    export SDL_AUDIODRIVER=dummy
fi
xg_start_game
xg_enter
sleep 0.5
xg_key ctrl+n

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$XG_GAME_PID/status"; }
status_field() { awk -v f="$1:" '$1 == f { print $2 }' "/proc/$XG_GAME_PID/status"; }
# Keeps the end screens off the house.
move_end_screens() {
    local title id
    for title in "Gejm Ouvr" "Winner !!!"; do
        xg_is_mapped "$title" || continue
        xg_geometry "$title"
        [ "$XG_X" -lt 200 ] && [ "$XG_Y" -lt 200 ] && continue
        id=$(xg_window_id "$title")
        xdotool windowmove "$id" 0 0
        xg_log "moved \"$title\" into the corner"
        sleep 0.2
    done
}

start=$(date +%s)
end=$((start + minutes * 60))
next_sample=$start
clicks=0
changes=0
window=1
samples=()
echo "minute VmRSS_kB VmHWM_kB threads open_fds clicks score_changes"
while :; do
    now=$(date +%s)
    kill -0 "$XG_GAME_PID" 2>/dev/null || { echo "the program ended during the soak" >&2; exit 1; }
    if [ "$now" -ge "$next_sample" ]; then
        kb=$(rss)
        samples+=("$kb")
        echo "$(( (now - start) / 60 )) $kb $(status_field VmHWM) $(status_field Threads) $(ls "/proc/$XG_GAME_PID/fd" | wc -l) $clicks $changes"
        next_sample=$((next_sample + 60))
    fi
    [ "$now" -ge "$end" ] && break
    move_end_screens
    before=$(xg_score)
    xg_click_house "$window"
    clicks=$((clicks + 1))
    sleep 0.1
    [ "$(xg_score)" != "$before" ] && changes=$((changes + 1))
    window=$((window % 15 + 1))
    sleep "$click_every"
done

# A last round: every window once; someone is always in one of them by now.
move_end_screens
before=$(xg_score)
for n in $(seq 15); do xg_click_house "$n"; sleep 0.05; done
sleep 0.2
after=$(xg_score)
first=${samples[0]}
last=${samples[${#samples[@]} - 1]}
baseline=${samples[1]:-$first}
echo
echo "soak of $minutes min: $clicks clicks, $changes of them changed the score"
echo "VmRSS: start $first kB, after 1 min $baseline kB, end $last kB; growth from minute 1: $((last - baseline)) kB, from start: $((last - first)) kB (goal <= 2048 kB)"
if [ "$before" != "$after" ]; then
    echo "clicks at the end: respond (the score changed)"
else
    echo "clicks at the end: NO change of the score"
fi
xg_key ctrl+q
xg_wait_exit 5 || true
echo "exit status after Ctrl+Q: $XG_STATUS"
[ "$before" != "$after" ] && [ $((last - baseline)) -le 2048 ] && [ "$XG_STATUS" = 0 ]
