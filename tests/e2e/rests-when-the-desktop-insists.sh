#!/usr/bin/env bash
# The desktop takes the main window's size into its own hands while a game runs: under i3 the
# user tiles the window, and i3 holds it at the tile's size; elsewhere another client asks for
# a new size. The game corrects the window a few times at most and then leaves it to the desktop:
# over the next ten seconds the window gets a bounded number of configure events, the house in
# it stays whole and a click in it still rescues. Under i3 the game must have corrected the tile
# before it gave in, and the window, floated again, has its own outer size. It prints the
# configure events, the sizes they carried and the game's processor time over those ten seconds.
#
# Usage: scripts/x-desktop WM -- rests-when-the-desktop-insists.sh TONOVKA DATA_FOLDER HOUSE_LAYOUT
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 3 ] && [ -n "${DISPLAY:-}" ] || { echo "usage: scripts/x-desktop WM -- $0 TONOVKA DATA_FOLDER HOUSE_LAYOUT" >&2; exit 2; }
source "$here/../reliability/xgame.sh"
xg_init
export XDG_RUNTIME_DIR=$XG_WORK/runtime SDL_AUDIODRIVER=dummy TONOVKA_HOUSE_LAYOUT=$3
mkdir -m 700 "$XDG_RUNTIME_DIR"
wm=${X_DESKTOP_WM:-}
readonly SECONDS_WATCHED=10

fail() {
    echo "FAIL (${wm:-?}): $*"
    tail -n 15 "$XG_WORK/game.log"
    exit 1
}

# The game's processor time so far, in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$XG_GAME_PID/stat"; }

xg_prepare_game "$1" "$2" || fail "cannot prepare the game"
[ -n "${keeperCorrections:-}" ] || fail "house-layout does not say how often the game corrects the window"
# Two for the desktop's own change (i3 sends a real configure event and a synthetic one), and two
# for each of the game's corrections at most: one request for the size, one for the place, each
# answered by one configure event. A game and a window manager that resized each other without
# end would pass this within a few seconds.
readonly MOST_CONFIGURE_EVENTS=$((2 + 2 * keeperCorrections))
xg_start_game
xg_enter || fail "no main window"
main=$(xg_window_id Tonovka)
xg_key ctrl+n || fail "cannot start a game"
sleep 1

xev -id "$main" -event structure -event property >"$XG_WORK/xev.log" 2>&1 &
xev_pid=$!
XG_PIDS+=("$xev_pid")
# Once xev reports a property set on the window, it hears the window's events.
watching() {
    xprop -id "$main" -f _TONOVKA_WATCHED 8s -set _TONOVKA_WATCHED 1
    grep -q PropertyNotify "$XG_WORK/xev.log" 2>/dev/null
}
for _ in $(seq 100); do watching && break; sleep 0.05; done
watching || fail "xev does not hear the main window's events"

xg_geometry Tonovka || fail "the main window is gone"
before="${XG_W}x${XG_H}"
from=$(ticks)
if [ "$wm" = i3 ]; then
    i3-msg -q "[id=$main] floating disable" || fail "i3 would not tile the window"
else
    xdotool windowsize "$main" 700 600
fi
sleep "$SECONDS_WATCHED"
to=$(ticks)
kill "$xev_pid"
events=$(grep -c '^ConfigureNotify' "$XG_WORK/xev.log")
# i3 answers every request of the game's to resize or move a tiled window with a synthetic
# configure event that repeats the tile, and its own change brings one real event and one
# synthetic: synthetic events beyond the real ones are the game's corrections answered.
synthetic=$(grep -c '^ConfigureNotify event.*synthetic YES' "$XG_WORK/xev.log")
# The sizes the configure events carried, and how many of them changed the size.
sizes=$(grep -A2 '^ConfigureNotify' "$XG_WORK/xev.log" | grep -o 'width [0-9]*, height [0-9]*' | tr -d ',' | awk '{ print $2 "x" $4 }')
resizes=$(awk -v size="$before" '$1 != size { changed++; size = $1 } END { print changed + 0 }' <<<"$sizes")
counted=$(uniq -c <<<"$sizes" | awk '{ printf " %s x%s", $2, $1 }')
permille=$(((to - from) * 1000 / $(getconf CLK_TCK) / SECONDS_WATCHED))
echo "over ${SECONDS_WATCHED} s under ${wm:-the desktop}, the client ${before} before: $events configure events ($synthetic synthetic), $resizes resizes, sizes:${counted:- none}; the game took $((permille / 10)).$((permille % 10)) % of a core"
[ "$events" -le "$MOST_CONFIGURE_EVENTS" ] ||
    fail "$events configure events in ${SECONDS_WATCHED} s: more than the game's $keeperCorrections corrections of one change would bring"
if [ "$wm" = i3 ]; then
    [ "$synthetic" -gt $((events - synthetic)) ] || fail "the game never asked for its own size back before it gave the tile in"
fi

# The house, from its roof to its lowest windows, is whole where the desktop holds the window,
# and a click still rescues.
xg_geometry Tonovka || fail "the main window is gone"
echo "the main window's client: ${XG_W}x${XG_H} at ($XG_X,$XG_Y)"
[ $((strecha[0] + strecha[2])) -le "$XG_W" ] && [ $((okno15[1] + okno15[3])) -le "$XG_H" ] ||
    fail "the house does not fit in the ${XG_W}x${XG_H} client"
# The score from the window's own picture, which XWayland under mutter keeps where it keeps none
# of the root window: its label down to the time label, which changes on its own.
score() {
    import -silent -window "$main" -crop "${scorecountLBL[2]}x$((timecountLBL[1] - scorecountLBL[1]))+${scorecountLBL[0]}+${scorecountLBL[1]}" rgb:- 2>/dev/null | md5sum
}
score=$(score)
for n in $(seq 15); do xg_click_house "$n"; done
changed() { [ "$(score)" != "$score" ]; }
for _ in $(seq 40); do changed && break; sleep 0.05; done
changed || fail "clicking the fifteen windows rescued nobody"
echo "a click still rescues"

if [ "$wm" = i3 ]; then
    i3-msg -q "[id=$main] floating enable" || fail "i3 would not float the window again"
    outer() { window_outer "$main" | awk '{ print $3 "x" $4 }'; }
    size=${outerSize[0]}x${outerSize[1]}
    held() { [ "$(outer)" = "$size" ]; }
    for _ in $(seq 100); do held && break; sleep 0.05; done
    held || fail "floated again, the window's outer size is $(outer), not $size"
    echo "floated again, the window has its outer size $size"
fi
echo PASSED
