#!/usr/bin/env bash
# In a Wayland session with an X display (weston with XWayland), the game comes up on X11,
# where it can centre its screens and keep them out of the task bar; with no X display named,
# it runs as a Wayland client.
#
# Usage: scripts/x-desktop weston -- comes-up-on-x-under-weston.sh TONOVKA
set -u -o pipefail
[ $# -eq 1 ] && [ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "usage: scripts/x-desktop weston -- $0 TONOVKA" >&2; exit 2; }
program=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/tonovka-weston.XXXXXX")
pid=''
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy QT_LOGGING_RULES="tonovka.windowsystem.debug=true"
unset QT_QPA_PLATFORM

# Starts the game with the given environment and waits until it names its window system.
start() {
    env "$@" "$program" >"$work/game.log" 2>&1 &
    pid=$!
    for _ in $(seq 600); do
        grep -q 'window system:' "$work/game.log" && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "FAIL: the game named no window system:"
    cat "$work/game.log"
    exit 1
}

start
grep -q 'window system: "xcb"' "$work/game.log" || { echo "FAIL: not on X11 with DISPLAY=$DISPLAY: $(grep 'window system' "$work/game.log")"; exit 1; }
welcome=''
for _ in $(seq 600); do
    welcome=$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -n 1)
    [ -n "$welcome" ] && break
    sleep 0.05
done
[ -n "$welcome" ] || { echo "FAIL: no welcome screen on the X display $DISPLAY"; exit 1; }
echo "with DISPLAY=$DISPLAY: $(grep 'window system' "$work/game.log"), the welcome screen is X window $welcome"
kill "$pid"
wait "$pid" 2>/dev/null

start -u DISPLAY
grep -q 'window system: "wayland"' "$work/game.log" || { echo "FAIL: not on Wayland without DISPLAY: $(grep 'window system' "$work/game.log")"; exit 1; }
echo "without DISPLAY: $(grep 'window system' "$work/game.log")"
echo PASSED
