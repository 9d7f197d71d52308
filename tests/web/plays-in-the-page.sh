#!/usr/bin/env bash
# Plays the game's page in headless Chromium, with the steps of tests/play/player-steps.sh, on the
# screens players open it on (page-driver.py's devices), each a row below:
# - a desktop page from 127.0.0.1, against the Linux build on the X desktop it runs on: the
#   welcome screen borderless and centred, pixel for pixel the Linux build's but for its buttons
#   (and a level of 255 at the edges of letters), its siren band for band the Linux build's; the
#   main window 504 x 414 with the frame the page draws, centred, with a close button alone, and
#   before a game pixel for pixel the Linux build's client area; "Gejm Ouvr" above the main
#   window; the tune, from its first note, band for band the Linux build's below 8 kHz, at its
#   level; "OK" ends the game and the page says so; the page said no error in the console, kept
#   nothing in the browser and asked nothing of any address but its own;
# - a screen of twice the pixels: the game twice its size, its pictures doubled pixel for pixel;
#   then zoomed to 200 % on a laptop's screen, the main window and its house inside the page;
# - a phone upright, by touch, from a host without TLS: a whole game, the tune heard; turned on
#   its side in the game, the main window inside the page, and again upright;
# - a page whose server stops once the first screen has shown: a whole game played through
#   Chromium's accessibility tree alone, as a screen reader plays it, the tune heard;
# - a page without tonovka.wasm: the page says that it cannot start;
# - a page whose server has a broken tune and no siren (page-rows.sh).
#
# Usage: scripts/x-desktop WM -- plays-in-the-page.sh PAGE_FOLDER LINUX_TONOVKA DATA_FOLDER
#            E2EPROBE HOUSE_LAYOUT SPECTRUM
set -u -o pipefail
if [ $# -ne 6 ] || [ -z "${DISPLAY:-}" ]; then
    echo "usage: scripts/x-desktop WM -- $0 PAGE_FOLDER LINUX_TONOVKA DATA_FOLDER E2EPROBE HOUSE_LAYOUT SPECTRUM" >&2
    exit 2
fi
page=$(realpath "$1") linux=$(realpath "$2") data=$(realpath "$3") spectrum=$6
here=$(dirname "$(realpath "$0")")
source "$here/../play/report.sh"
source "$here/../play/player-steps.sh"
source "$here/../e2e/window-geometry.sh"
source "$here/linux-reference.sh"
source "$here/page-rows.sh"
read_the_house "$5" welcome_endBUTT outerSize
e2eprobe=$(realpath "$4")
readonly MUSIC_CAPTURED=yes
pids=()
run_ends() {
    [ -z "${driver_pid:-}" ] || { echo quit >&"${driver[1]}"; wait "$driver_pid"; } 2>/dev/null
    [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null
}

# serve FOLDER: serves it, alone, and sets url and server_pid.
server_pid='' servers=0
serve() {
    [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null
    servers=$((servers + 1))
    "$here/../../scripts/web-play" "$1" >"$work/server-$servers.log" 2>&1 &
    server_pid=$!
    pids+=("$server_pid")
    serving() { url=$(grep -o 'http://[^ ]*' "$work/server-$servers.log"); [ -n "$url" ]; }
    poll 10 serving || fail "the page's server did not start (server-$servers.log)"
}
# The primitives of the steps, through the page's driver (page-driver.py). A session opens the
# page on a device: game_start opens it on $device at $url.
ask() {
    echo "$*" >&"${driver[1]}"
    read -r answer <&"${driver[0]}" || fail "the page's driver ended (steps.log)"
    echo "$answer"
}
open_page() {
    coproc driver { exec /usr/bin/python3 "$here/page-driver.py" 2>>"$work/driver.log"; }
    driver_pid=$!
    ask start "$1" "$2" >/dev/null
}
device=desktop
game_start() { open_page "$url" "$device"; }
game_window() { local at; at=$(ask window "$1"); [ "$at" != none ] && echo "$at"; }
game_shot() { ask shot "$1" >/dev/null; }
game_click() { ask click "$1" "$2" >/dev/null; }
game_key() { ask key "$1" >/dev/null; }
game_sound_bytes() { ask sound_bytes; }
game_sound() { ask sound "$1" >/dev/null; }
game_ended() {
    ask ended >/dev/null
    case $answer in
        no) return 1 ;;
        crashed) game_status=1 ;;
        '' | *[!0-9]*) fail "the page's word of the end gives no status: $answer" ;;
        *) game_status=$answer ;;
    esac
}
quit_the_page() {
    ask console "$work/console-$1.log" >/dev/null
    echo quit >&"${driver[1]}"
    wait "$driver_pid"
    driver_pid=''
}

centred_in_the_page() {
    local x y w h page_w page_h
    read -r x y w h < <(ask frame "$2")
    read -r page_w page_h < <(ask viewport)
    [ $((2 * x + w - page_w)) -ge -1 ] && [ $((2 * x + w - page_w)) -le 1 ] && [ $((2 * y + h - page_h)) -ge -1 ] &&
        [ $((2 * y + h - page_h)) -le 1 ] || problem "$1 (${w}x$h at $x,$y) is not centred in the ${page_w}x$page_h page"
}
on_welcome() {
    centred_in_the_page "the welcome screen" Form1
    [ "$(ask frame Form1)" = "$welcome_at" ] || problem "the welcome screen has a frame: $(ask frame Form1)"
    game_shot "$work/page.png"
    against_linux welcome page.png "$welcome_at" welcome_enterBUTT welcome_endBUTT
    # The tune is compared from its first note: the siren ends first.
    poll 10 sound_reaches $((BYTES_PER_SECOND * 7 / 2)) || fail "the sound stopped during the siren"
}
on_main() {
    local w h
    read -r _ _ w h < <(ask frame Tonovka)
    [ "${w}x$h" = "${layout[outerSize]// /x}" ] || problem "the main window is ${w}x$h with its frame, not ${layout[outerSize]// /x}"
    centred_in_the_page "the main window" Tonovka
    [ "$(ask controls Tonovka)" = close ] || problem "the main window's title bar offers $(ask controls Tonovka), not close alone"
    find_screen main_at Tonovka || fail "the main window is gone"
    game_shot "$work/page.png"
    against_linux main page.png "$main_at"
}
on_game_over() {
    local x y w h
    read -r x y w h <<<"$konec_at"
    [ "$(ask top $((x + w / 2)) $((y + h / 2)))" = "Gejm Ouvr" ] || problem "'Gejm Ouvr' is not above the main window"
}

linux_reference "$linux" "$data"
serve "$page"
play_a_whole_game "$e2eprobe"
against_linux_sounds
[ "$(ask kept)" = "0 0 0 0 0" ] || problem "the page kept cookies or storage: $(ask kept)"
asked=$(ask asked)
# shellcheck disable=SC2076 # the page's own address, as it stands
[[ " $asked " == *" $url "* ]] || problem "the browser's log of requests lacks the page's own: $asked"
for address in $asked; do
    [[ $address == "$url"* ]] || problem "the page asked for $address"
done
quit_the_page first
! grep -q '^SEVERE' "$work/console-first.log" || problem "the page said an error in the console (console-first.log)"

twice_the_pixels
phone_by_touch_without_tls
offline_through_the_tree
without_its_program
with_broken_sounds
passed
