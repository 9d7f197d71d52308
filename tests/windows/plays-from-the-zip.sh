#!/usr/bin/env bash
# Plays the Windows game from its zip under Wine on an X desktop, as a Windows player would: the
# zip unpacked into a folder of its own, the game started from another, with nothing of the build
# on Wine's search path. First, copies of the game's folder that lack one DLL each must fail as
# they would on a player's machine (without-a-dll.sh).
# Then a whole game, with the steps of tests/play/player-steps.sh, and what Windows itself says
# of the windows (window-probe.exe), since the X desktop draws frames of its own:
# - the welcome screen: borderless, centred, no task-bar button, and against the Linux build's
#   (against-linux.sh);
# - the main window: 504 x 414 with the frame Windows draws, centred, no maximise;
# - "Gejm Ouvr" above the main window.
# Last, a second start with a broken siren, no tune and no audio device plays on and ends with
# Ctrl+Q, with status 0. The tune goes to Windows' own synthesizer, which SDL's disk driver does
# not capture (and which this machine lacks).
#
# Usage: scripts/x-desktop WM -- plays-from-the-zip.sh ZIP WINE_RUN WINDOW_PROBE LINUX_TONOVKA
#            DATA_FOLDER E2EPROBE HOUSE_LAYOUT SPECTRUM
set -u -o pipefail
if [ $# -ne 8 ] || [ -z "${DISPLAY:-}" ]; then
    echo "usage: scripts/x-desktop WM -- $0 ZIP WINE_RUN WINDOW_PROBE LINUX_TONOVKA DATA_FOLDER E2EPROBE HOUSE_LAYOUT SPECTRUM" >&2
    exit 2
fi
zip=$(realpath "$1") WINE_RUN=$2 WINDOW_PROBE=$3 spectrum=$8
here=$(dirname "$(realpath "$0")")
source "$here/../e2e/window-geometry.sh"
source "$here/wine-steps.sh"
source "$here/../play/player-steps.sh"
source "$here/../play/on-x.sh"
source "$here/against-linux.sh"
source "$here/without-a-dll.sh"
read_the_house "$7" welcome_endBUTT welcome_tittlelbl outerSize
read -r area_x area_y area_w area_h _ < <(xprop -root _NET_WORKAREA | sed -n 's/.*= *//p' | tr -d ',')
[ -n "${area_h:-}" ] || read -r area_x area_y area_w area_h < <(window_client "$(xwininfo -root | awk '/Window id:/ { print $4 }')")

# The primitives of the steps that on-x.sh leaves: the game from the unpacked zip (or another
# program), in a folder that holds no sound, and its windows as Windows has them.
game_start() {
    # Wine names a DLL that the game does not find; the game says what it does with its sound.
    (cd "$work/elsewhere" && exec env "${disk_sound[@]}" WINEDEBUG=-all,err+module QT_FORCE_STDERR_LOGGING=1 \
        QT_LOGGING_RULES=tonovka.sound.debug=true "$WINE_RUN" --no-build-dlls "${1:-$program}") >"$work/program.log" 2>&1 &
    game_pid=$!
}
game_window() {
    local geometry
    geometry=$(windows geometry "$1") && echo "${geometry#* * * * }"
}
game_shot() { import -silent -window root "png:$1"; }
# Windows' own style draws the menu bar a row taller than the layout's.
MENU_BAR_SLACK=1

# The X window of the game's window with this title: Wine names the class after the program.
x_window() {
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        xprop -id "$id" WM_CLASS 2>/dev/null | grep -qi '"tonovka' && { echo "$id"; return 0; }
    done
    return 1
}
check_centred() {
    lies_centred "$2" "$3" "$4" "$5" || problem "$1 at ($2,$3), ${4}x$5, is not centred on the work area ${area_w}x${area_h}+${area_x}+${area_y}"
}

on_welcome() {
    local x y w h cx cy cw ch id
    read -r x y w h cx cy cw ch < <(windows geometry Form1)
    say "welcome: ${w}x${h} at ($x,$y), client ${cw}x${ch}; $(windows buttons Form1)"
    [ "$w $h" = "$cw $ch" ] || problem "the welcome screen is not borderless"
    check_centred "the welcome screen" "$x" "$y" "$w" "$h"
    windows buttons Form1 | grep -q 'toolwindow yes' || problem "the welcome screen has a task-bar button"
    if ! id=$(x_window Form1); then
        problem "the welcome screen has no X window"
    elif xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$id")" &&
        ! xprop -id "$id" _NET_WM_STATE | grep -q SKIP_TASKBAR; then
        problem "the desktop lists the welcome screen"
    fi
    poll 20 sound_reaches $((BYTES_PER_SECOND * 3)) || fail "the game wrote no three seconds of siren"
    shot windows.png
    against_linux "$cx" "$cy" "$spectrum"
}
main_outer() { windows geometry Tonovka | cut -d' ' -f1-4; }
outer_is_held() { [ "$(main_outer | cut -d' ' -f3-4)" = "${layout[outerSize]}" ]; }
on_main() {
    poll 5 outer_is_held || problem "the main window is $(main_outer | cut -d' ' -f3-4), not ${layout[outerSize]}, with its frame"
    say "main window with the frame Windows draws: $(main_outer); $(windows buttons Tonovka)"
    # shellcheck disable=SC2046 # "X Y W H"
    check_centred "the main window" $(main_outer)
    windows buttons Tonovka | grep -q 'maximize no minimize yes' || problem "the main window offers a maximise"
}
on_game_over() { windows above "Gejm Ouvr" Tonovka || problem "'Gejm Ouvr' is not above the main window"; }

# ---------------------------------------------------------------------------------------------
linux_reference "$4" "$5"
unzip -q "$zip" -d "$work/game" || fail "cannot unpack $zip"
program=$(ls "$work"/game/*/tonovka.exe) || fail "no tonovka.exe in $zip"
mkdir -p "$work/elsewhere"
fails_without_qt
silent_without_sdl
play_a_whole_game "$6"

# Ctrl+Q ends a game too, and one that has a broken siren, no tune and no audio device at all.
head -c 100 "$(dirname "$program")/siren.wav" >"$work/siren.wav" && mv "$work/siren.wav" "$(dirname "$program")/"
rm "$(dirname "$program")/rytmozan.mid"
disk_sound=(SDL_AUDIODRIVER=no-such-device)
game_start
poll 60 find_screen welcome_at Form1 || fail "the welcome screen did not show again"
# shellcheck disable=SC2046 # "X Y"
game_click $(centre welcome_enterBUTT "$welcome_at")
poll 20 find_screen main_at Tonovka || fail "the main window did not show again"
sleep 0.5
game_key ctrl+q
poll 20 game_ended || fail "the game still runs 20 s after Ctrl+Q"
[ "$game_status" -eq 0 ] || problem "Ctrl+Q ended the game with status $game_status"
passed
