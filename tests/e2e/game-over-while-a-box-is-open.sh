#!/usr/bin/env bash
# The time runs out while the help box ("To určitě") is open, or while the game's drop-down menu
# is open: "Gejm Ouvr" must come above the main window, the help box staying above it until it
# is closed; then "Gejm Ouvr" has the keyboard and its "OK" ends the program with status 0.
#
# Usage: scripts/x-desktop WM -- game-over-while-a-box-is-open.sh TONOVKA DATA_FOLDER HOUSE_LAYOUT [help|menu]
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 3 ] && [ -n "${DISPLAY:-}" ] || { echo "usage: scripts/x-desktop WM -- $0 TONOVKA DATA_FOLDER HOUSE_LAYOUT [help|menu]" >&2; exit 2; }
open=${4:-help}
source "$here/../reliability/xgame.sh"
xg_init
export XDG_RUNTIME_DIR=$XG_WORK/runtime SDL_AUDIODRIVER=dummy
mkdir -m 700 "$XDG_RUNTIME_DIR"

fail() {
    echo "FAIL (${X_DESKTOP_WM:-?}, $open open): $*"
    echo "stacking: $(xprop -root _NET_CLIENT_LIST_STACKING); $(xprop -root _NET_ACTIVE_WINDOW)"
    tail -n 15 "$XG_WORK/game.log"
    exit 1
}

# The place of a window's frame (the root's child that holds it) from the bottom of the stack.
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
stack_place() {
    xwininfo -children -id "$root" | awk '/^ +0x/ { print $1 }' | tac | grep -n -x "$(window_holder "$1")" | cut -d: -f1
}
is_active() { [ $(($(xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*# *\(0x[0-9a-f]*\).*/\1/p'))) -eq $(($1)) ]; }
poll() {
    local tries=$(($1 * 20))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

eval "$("$3" 2>/dev/null)"
[ ${#mnuHELPitem[@]} -eq 4 ] && [ ${#mmuHRAitem[@]} -eq 4 ] || fail "house-layout names no menu items"
xg_prepare_game "$1" "$2"
xg_start_game
xg_enter || fail "no main window"
main=$(xg_window_id Tonovka)
# The desktop may still be placing the main window, and the game then asks once more for its
# centred place: the click waits until the window has stayed put for half a second.
main_settled() {
    local before
    xg_geometry Tonovka || return 1
    before="$XG_X $XG_Y $XG_W $XG_H"
    sleep 0.5
    xg_geometry Tonovka && [ "$XG_X $XG_Y $XG_W $XG_H" = "$before" ]
}
settled=no
for _ in $(seq 20); do main_settled && { settled=yes; break; }; done
[ "$settled" = yes ] || fail "the main window kept moving for 10 s"
xg_key ctrl+n || fail "cannot start a game"
if [ "$open" = help ]; then
    item=("${mnuHELPitem[@]}")
else
    item=("${mmuHRAitem[@]}")
fi
xg_click_at $((XG_X + item[0] + item[2] / 2)) $((XG_Y + item[1] + item[3] / 2))
box=''
find_box() {
    if [ "$open" = help ]; then
        box=$(x_desktop_windows '^Tonovka$' | grep -v -x "$main" | head -n 1)
    else
        box=$(xdotool search --onlyvisible --class tonovka 2>/dev/null | grep -v -x "$main" | while read -r id; do
            xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && echo "$id"
        done | head -n 1)
    fi
    [ -n "$box" ]
}
poll 10 find_box || fail "the $open did not open"

xg_wait_window "Gejm Ouvr" 90 || fail "'Gejm Ouvr' never showed"
konec=$(xg_window_id "Gejm Ouvr")
sleep 1
echo "stacked from the bottom: main $(stack_place "$main"), 'Gejm Ouvr' $(stack_place "$konec")"
[ "$(stack_place "$konec")" -gt "$(stack_place "$main")" ] || fail "'Gejm Ouvr' is below the main window"
# The drop-down menu closes as the game ends; the help box waits for its "OK".
if [ "$open" = help ]; then
    echo "the help box: $(stack_place "$box")"
    [ "$(stack_place "$box")" -gt "$(stack_place "$konec")" ] || fail "the help box is below 'Gejm Ouvr'"
    is_active "$box" || xdotool windowactivate "$box" 2>/dev/null
    xdotool key Return
fi
konec_active() { is_active "$konec"; }
poll 5 konec_active || fail "'Gejm Ouvr' did not take the keyboard once the $open was gone"
xdotool key space
xg_wait_exit 10
[ "$XG_STATUS" = 0 ] || fail "the program did not end with status 0 after 'OK' (status $XG_STATUS)"
echo "PASSED: 'Gejm Ouvr' above the main window, active once the $open was gone, and its 'OK' ended the program"
