#!/usr/bin/env bash
# Plays the game's page in headless Chromium, served from 127.0.0.1 (scripts/web-play), with the
# steps of tests/play/player-steps.sh, against the Linux build on the X desktop it runs on:
# - the welcome screen borderless and centred in the page, and pixel for pixel the Linux build's
#   but for its buttons (and a level of 255 at the edges of letters); its siren band for band the
#   Linux build's;
# - the main window 504 x 414 with the frame the page draws, centred, with a close button alone,
#   and before a game pixel for pixel the Linux build's client area;
# - "Gejm Ouvr" above the main window; the tune, from its first note, band for band the Linux
#   build's below 8 kHz, at its level; "OK" ends the game and the page says so;
# - the page kept nothing in the browser and asked nothing of any address but its own.
# Then, from a copy of the page whose server has a broken tune and no siren, a game played without
# a rescue: it plays on, silent, says so once for each sound in the console, shows people in at
# least ten windows (sampled twice a second), and ends with "OK".
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
read_the_house "$5" welcome_endBUTT outerSize
e2eprobe=$(realpath "$4")
readonly MUSIC_CAPTURED=yes
pids=()
run_ends() {
    [ -z "${driver_pid:-}" ] || { echo quit >&"${driver[1]}"; wait "$driver_pid"; } 2>/dev/null
    [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null
}

# serve FOLDER: serves it, alone, and sets url.
server_pid='' servers=0
serve() {
    [ -z "$server_pid" ] || kill "$server_pid"
    servers=$((servers + 1))
    "$here/../../scripts/web-play" "$1" >"$work/server-$servers.log" 2>&1 &
    server_pid=$!
    pids+=("$server_pid")
    serving() { url=$(grep -o 'http://[^ ]*' "$work/server-$servers.log"); [ -n "$url" ]; }
    poll 10 serving || fail "the page's server did not start (server-$servers.log)"
}
# The primitives of the steps, through the page's driver (page-driver.py).
ask() {
    echo "$*" >&"${driver[1]}"
    read -r answer <&"${driver[0]}" || fail "the page's driver ended (steps.log)"
    echo "$answer"
}
game_start() {
    coproc driver { exec /usr/bin/python3 "$here/page-driver.py" 2>>"$work/driver.log"; }
    driver_pid=$!
    ask start "$url" >/dev/null
}
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
[ "$(ask kept)" = "0 0 0" ] || problem "the page kept cookies or storage: $(ask kept)"
asked=$(ask asked)
# shellcheck disable=SC2076 # the page's own address, as it stands
[[ " $asked " == *" $url "* ]] || problem "the browser's log of requests lacks the page's own: $asked"
for address in $asked; do
    [[ $address == "$url"* ]] || problem "the page asked for $address"
done
quit_the_page first

# On a screen of twice the pixels the game is twice its size, its pictures doubled pixel for
# pixel: the welcome screen's picture, below its buttons, as at the first scale.
coproc driver { exec /usr/bin/python3 "$here/page-driver.py" 2>>"$work/driver.log"; }
driver_pid=$!
ask start "$url" 2 >/dev/null
poll 60 find_screen twice_at Form1 || fail "the welcome screen never showed at twice the scale"
read -r x y w h <<<"$twice_at"
read -r _ below _ height < <(place welcome_enterBUTT "0 0 $w $h")
below=$((below + height))
shot twice.png
convert "$work/twice.png" -crop "$((2 * w))x$((2 * (h - below)))+$((2 * x))+$((2 * (y + below)))" +repage "$work/twice-picture.png"
convert "$work/page-welcome.png" -crop "${w}x$((h - below))+0+$below" +repage -filter point -resize 200% "$work/doubled.png"
doubled=$(compare -metric AE "$work/doubled.png" "$work/twice-picture.png" null: 2>&1)
say "at twice the scale the welcome screen is ${w}x$h page pixels; its picture differs from the first scale's, doubled, in $doubled pixels"
[ "$w $h" = "${layout[welcome]#0 0 }" ] && [ "$w $h" = "${welcome_at#* * }" ] || problem "the welcome screen is not the same size in page pixels at twice the scale"
[ "$doubled" = 0 ] || problem "the pictures are not doubled pixel for pixel at twice the scale (doubled.png, twice-picture.png)"
quit_the_page twice

# A page whose server has a broken tune and no siren: a game without a rescue.
mkdir -p "$work/broken"
cp -r "$page/." "$work/broken/"
rm "$work/broken/siren.wav"
head -c 100 "$page/rytmozan.mid" >"$work/broken/rytmozan.mid"
serve "$work/broken"
game_start
poll 60 find_screen welcome_at Form1 || fail "the welcome screen never showed without its sounds"
# shellcheck disable=SC2046 # "X Y"
game_click $(centre welcome_enterBUTT "$welcome_at")
poll 20 find_screen main_at Tonovka || fail "the main window never showed without its sounds"
shot house-empty.png
game_key ctrl+n
seen=''
sample_the_house() {
    shot sample.png
    local n=0 changed
    # shellcheck disable=SC2046 # the grid's numbers
    for changed in $(probe cells "$work/house-empty.png" "$work/sample.png" $(house_grid "$main_at")); do
        n=$((n + 1))
        [ "$changed" -le 100 ] || [[ " $seen " == *" $n "* ]] || seen="$seen $n"
    done
    ! game_window "Gejm Ouvr" >/dev/null
}
while sample_the_house; do sleep 0.5; done
say "people seen in windows$seen in one game without a rescue"
[ "$(wc -w <<<"$seen")" -ge 10 ] || problem "people showed in $(wc -w <<<"$seen") windows in a whole game, fewer than ten"
find_screen konec_at "Gejm Ouvr" || fail "'Gejm Ouvr' went"
# shellcheck disable=SC2046 # "X Y"
game_click $(centre Konec_Command1 "$konec_at")
poll 10 game_ended || fail "the page did not end the game after 'OK'"
[ "$game_status" -eq 0 ] || problem "the page without its sounds ended the game with status $game_status"
game_sound "$work/silent.raw"
[ ! -s "$work/silent.raw" ] || [ "$(value peak "$(probe level "$work/silent.raw" 0 "$(stat -c %s "$work/silent.raw")")")" -le 64 ] ||
    problem "a page without its sounds sounded"
quit_the_page second
silent=$(grep -c "stays silent" "$work/console-second.log")
[ "$silent" -eq 2 ] || problem "the console says $silent times that a sound stays silent, not once for each sound (console-second.log)"
passed
