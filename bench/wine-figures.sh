#!/usr/bin/env bash
# wine-figures.sh: the Windows game's figures under Wine, each as a ratio against one_window.exe,
# the least Qt program with the game's two 1 ms timers, cross-built the same way, run after it in
# the same round: launch until the first window is mapped, CPU during play with both sounds
# (the game's process with Wine's server), and peak memory. Wine is not Windows: the ratios are
# for comparison, not promises.
#
#   bench/wine-figures.sh   (after scripts/windows-build; ROUNDS=5, PLAY_SECONDS=10)
#
# It plays the game from the zip on a private openbox desktop (scripts/x-desktop), with its sound
# through SDL's disk driver, and times the launch with the Linux bench build's mapwait
# (that of the Windows build's tests, build/debug by default). The figures are medians over the
# rounds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
if [ -z "${DISPLAY:-}" ] || [ -z "${X_DESKTOP_DIR:-}" ]; then
    exec "$root/scripts/x-desktop" openbox -- "$0" "$@"
fi
rounds=${ROUNDS:-5} play=${PLAY_SECONDS:-10}
# The Linux build that the Windows build's tests compare with.
windows=$root/build/windows
linux=$(sed -n 's/^TONOVKA_LINUX_BUILD:PATH=//p' "$windows/CMakeCache.txt")
mapwait=$linux/bench/mapwait bare=$windows/bench/one_window.exe
eval "$("$linux/tools/houselayout/house-layout" 2>/dev/null)"
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
unzip -q "$windows"/tonovka-*-win64.zip -d "$work/game"
game=$(ls "$work"/game/*/tonovka.exe)
# The bare program finds Qt's DLLs beside it, as the game does.
cp "$bare" "$(dirname "$game")/"
bare=$(dirname "$game")/one_window.exe
wine wineboot --init >/dev/null 2>&1 && wineserver --wait
wineserver --persistent

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The Windows program's own process, which wine starts under the program's path, in this run's
# folder; and the server of this run's prefix, which has it in its environment.
process_of() { pgrep -n -f "^$1" || true; }
server() {
    local pid
    for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
    done
}
# mapwait's figure of a launch; the program goes on, its output away from mapwait's.
launch() {
    local title=$1
    shift
    "$mapwait" --timeout 60 "$title" -- sh -c 'exec "$@" >/dev/null 2>&1' - "$@" | sed -n 's/.*map_ms=\([0-9.]*\).*/\1/p'
}
# CPU in ticks of the program and of Wine's server over the play, then the program's peak memory.
measure() {
    local pid server_pid t0 s0
    pid=$(process_of "$1") server_pid=$(server)
    t0=$(ticks "$pid") s0=$(ticks "$server_pid")
    sleep "$play"
    echo "$(($(ticks "$pid") - t0 + $(ticks "$server_pid") - s0)) $(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")"
}

cd "$work"
for round in $(seq "$rounds"); do
    launch_bare=$(launch Minimal wine "$bare")
    read -r cpu_bare mem_bare < <(measure "$bare")
    kill "$(process_of "$bare")"; sleep 1
    launch_game=$(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" launch Form1 wine "$game")
    sleep 3
    read -r _ _ _ _ x y _ _ < <(wine "$windows/tests/windows/window-probe.exe" geometry Form1 | tr -d '\r')
    xdotool mousemove $((x + welcome_enterBUTT[0] + 10)) $((y + welcome_enterBUTT[1] + 10)) click 1
    sleep 2
    xdotool key --clearmodifiers ctrl+n
    read -r cpu_game mem_game < <(measure "$game")
    kill "$(process_of "$game")"; sleep 1
    echo "$launch_game $launch_bare $cpu_game $cpu_bare $mem_game $mem_bare" | tee -a "$work/rounds"
done
ratio() { awk -v c="$1" -v d="$2" '{ print $c / $d }' "$work/rounds" | median; }
echo "Under Wine, $rounds rounds, medians of the game against one_window.exe:"
echo "  launch to the first window: $(ratio 1 2) (game $(awk '{ print $1 }' "$work/rounds" | median) ms)"
echo "  CPU during $play s of play with both sounds, with Wine's server: $(ratio 3 4)"
echo "  peak memory: $(ratio 5 6) (game $(awk '{ print $5 }' "$work/rounds" | median) kB)"
