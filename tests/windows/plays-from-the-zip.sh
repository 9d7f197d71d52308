#!/usr/bin/env bash
# Plays the Windows game from its zip under Wine on an X desktop, as a Windows player would: the
# zip unpacked into a folder of its own, the game started from another. What Windows says of its
# windows comes from window-probe.exe, since the X desktop draws frames of its own. It checks:
# - the welcome screen: borderless, centred, no task-bar button, pixel for pixel the Linux
#   build's but for what must differ (below), and its siren band for band the Linux build's;
# - "Vstoupit": the main window, 504 x 414 with the frame Windows draws, centred, no maximise;
# - Ctrl+N: people appear, and a click rescues one;
# - the flood: "Gejm Ouvr" comes up above the main window, and "OK" ends the game with status 0;
# - a second start, with a broken siren, no tune and no audio device, plays on and ends with
#   Ctrl+Q, with status 0.
# What must differ from Linux: the buttons are drawn by each system's own style, and Qt blends
# the grey edges of the title's letters (Comic Neue, a font of CFF outlines) with a gamma of 2.31
# on Windows and 1.7 on Linux, so those edges differ by a few levels.
#
# Usage: scripts/x-desktop WM -- plays-from-the-zip.sh ZIP WINE_RUN WINDOW_PROBE LINUX_TONOVKA
#            DATA_FOLDER E2EPROBE HOUSE_LAYOUT SPECTRUM
set -u -o pipefail
[ $# -eq 8 ] && [ -n "${DISPLAY:-}" ] || { echo "usage: scripts/x-desktop WM -- $0 ZIP WINE_RUN" \
    "WINDOW_PROBE LINUX_TONOVKA DATA_FOLDER E2EPROBE HOUSE_LAYOUT SPECTRUM" >&2; exit 2; }
zip=$(realpath "$1") WINE_RUN=$2 WINDOW_PROBE=$3 linux=$(realpath "$4") data=$(realpath "$5")
probe=$6 layout=$7 spectrum=$8
here=$(dirname "$(realpath "$0")")
source "$here/../e2e/window-geometry.sh"
source "$here/wine-steps.sh"
readonly BYTES_PER_SECOND=$((44100 * 2 * 2))

# The X window of the game's window with this title: Wine names the class after the program.
find_window() {
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        xprop -id "$id" WM_CLASS 2>/dev/null | grep -qi '"tonovka' && { echo "$id"; return 0; }
    done
    return 1
}
shot() { import -silent -window root "png:$work/$1" || fail "cannot take the screenshot $1"; }
sound_bytes() { stat -c %s "$1" 2>/dev/null || echo 0; }
enough_sound() { [ "$(sound_bytes "$1")" -ge $((BYTES_PER_SECOND * $2)) ]; }
check_centred() {
    local what=$1 x=$2 y=$3 w=$4 h=$5
    lies_centred "$x" "$y" "$w" "$h" || problem "$what at ($x,$y), ${w}x${h}, is not centred on the work area ${area_w}x${area_h}+${area_x}+${area_y}"
}

eval "$("$layout" 2>/dev/null)" || fail "$layout printed no layout"
read -r area_x area_y area_w area_h _ < <(xprop -root _NET_WORKAREA | sed -n 's/.*= *//p' | tr -d ',')
[ -n "${area_h:-}" ] || read -r area_x area_y area_w area_h < <(window_client "$(xwininfo -root | awk '/Window id:/ { print $4 }')")

# The Linux build's welcome screen and siren, to compare with.
mkdir -p "$work/linux" && cp "$data/siren.wav" "$data/rytmozan.mid" "$work/linux/"
(cd "$work/linux" && exec env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/linux.raw" "$linux") >/dev/null 2>&1 &
pids+=($!)
poll 30 find_window Form1 >/dev/null || fail "the Linux build's welcome screen never showed"
poll 20 enough_sound "$work/linux.raw" 3 || fail "the Linux build wrote no siren"
read -r lx ly _ _ < <(window_client "$(find_window Form1)")
shot linux.png
kill "${pids[0]}"

# The game from the zip, started from a folder that holds no sound.
unzip -q "$zip" -d "$work/game" || fail "cannot unpack $zip"
program=$(ls "$work"/game/*/tonovka.exe) && mkdir -p "$work/elsewhere" || fail "no tonovka.exe in $zip"
# start_game OUTPUT [AUDIO_DRIVER]
start_game() {
    (cd "$work/elsewhere" && exec env SDL_AUDIODRIVER="${2:-disk}" SDL_DISKAUDIOFILE="$work/$1" "$WINE_RUN" "$program") \
        >"$work/$1.log" 2>&1 &
    game=$!
    pids+=("$game")
}
start_game windows.raw
poll 60 find_window Form1 >/dev/null || fail "the welcome screen 'Form1' never showed"
welcome_window=$(find_window Form1)
read -r x y w h wx wy cw ch < <(windows geometry Form1)
say "welcome: ${w}x${h} at ($x,$y), client ${cw}x${ch}; $(windows buttons Form1)"
size=${welcome[2]}x${welcome[3]}
[ "${w}x${h} ${cw}x${ch}" = "$size $size" ] || problem "the welcome screen is not a borderless $size"
check_centred "the welcome screen" "$x" "$y" "$w" "$h"
windows buttons Form1 | grep -q 'toolwindow yes' || problem "the welcome screen has a task-bar button"
xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$welcome_window")" &&
    ! xprop -id "$welcome_window" _NET_WM_STATE | grep -q SKIP_TASKBAR && problem "the desktop lists the welcome screen"

# Pixel for pixel, but for the buttons and the edges of the title's letters.
poll 20 enough_sound "$work/windows.raw" 3 || fail "the game wrote no siren (windows.raw.log)"
shot windows.png
crop() { convert "$work/$1" -crop "$size+$2+$3" +repage "$work/$4"; }
crop linux.png "$lx" "$ly" linux-welcome.png && crop windows.png "$wx" "$wy" windows-welcome.png
mask=(-fill black -draw "rectangle ${welcome_enterBUTT[0]},${welcome_enterBUTT[1]} $((welcome_enterBUTT[0] + welcome_enterBUTT[2] - 1)),$((welcome_enterBUTT[1] + welcome_enterBUTT[3] - 1))"
      -draw "rectangle ${welcome_endBUTT[0]},${welcome_endBUTT[1]} $((welcome_endBUTT[0] + welcome_endBUTT[2] - 1)),$((welcome_endBUTT[1] + welcome_endBUTT[3] - 1))")
title=(-fill black -draw "rectangle 0,0 $((welcome[2] - 1)),$((welcome_tittlelbl[1] + welcome_tittlelbl[3] - 1))")
for side in linux windows; do
    convert "$work/$side-welcome.png" "${mask[@]}" "${title[@]}" "$work/$side-rest.png"
    convert "$work/$side-welcome.png" -crop "${welcome[2]}x$((welcome_tittlelbl[1] + welcome_tittlelbl[3]))+0+0" +repage "$work/$side-title.png"
done
all=$(compare -metric AE "$work/linux-welcome.png" "$work/windows-welcome.png" null: 2>&1)
rest=$(compare -metric AE "$work/linux-rest.png" "$work/windows-rest.png" null: 2>&1)
letters=$(compare -metric AE -fuzz 12% "$work/linux-title.png" "$work/windows-title.png" null: 2>&1)
say "welcome screen against Linux: $all pixels differ; $rest outside the buttons and the title;" \
    "$letters in the title by more than 12 %"
[ "$rest" = 0 ] && [ "$letters" = 0 ] || problem "the welcome screen differs from Linux's (linux-welcome.png, windows-welcome.png)"

# The siren, band by band.
head -c $((BYTES_PER_SECOND * 3)) "$work/linux.raw" >"$work/linux-siren.raw"
head -c $((BYTES_PER_SECOND * 3)) "$work/windows.raw" >"$work/windows-siren.raw"
python3 "$spectrum" --check 0.5 "$work/linux-siren.raw" 44100 "$work/windows-siren.raw" 44100 ||
    problem "the siren under Wine does not sound as on Linux"

# "Vstoupit": the main window.
xdotool mousemove $((wx + welcome_enterBUTT[0] + welcome_enterBUTT[2] / 2)) \
    $((wy + welcome_enterBUTT[1] + welcome_enterBUTT[3] / 2)) click 1
poll 20 find_window Tonovka >/dev/null || fail "the main window never showed after 'Vstoupit'"
sleep 1
read -r x y w h cx cy cw ch < <(windows geometry Tonovka)
say "main window: ${w}x${h} at ($x,$y) with the frame Windows draws, client ${cw}x${ch}; $(windows buttons Tonovka)"
[ "${w}x${h}" = "${outerSize[0]}x${outerSize[1]}" ] || problem "the main window is ${w}x${h}, not ${outerSize[0]}x${outerSize[1]}"
check_centred "the main window" "$x" "$y" "$w" "$h"
windows buttons Tonovka | grep -q 'maximize no minimize yes' || problem "the main window offers a maximise"

# Ctrl+N: people appear, and a click on one rescues it.
grid="$((cx + okno1[0])) $((cy + okno1[1])) ${okno1[2]} ${okno1[3]} $((okno2[0] - okno1[0])) $((okno6[1] - okno1[1])) 5 3"
shot house-empty.png
xdotool key --clearmodifiers ctrl+n
occupied=''
find_people() {
    shot house-people.png
    local n=0 changed
    for changed in $("$probe" cells "$work/house-empty.png" "$work/house-people.png" $grid); do
        n=$((n + 1))
        [ "$changed" -gt 100 ] && { occupied=$n; return 0; }
    done
    return 1
}
poll 15 find_people || fail "nobody appeared in the windows after Ctrl+N"
declare -n pane="okno$occupied"
xdotool mousemove $((cx + pane[0] + pane[2] / 2)) $((cy + pane[1] + pane[3] / 2)) click 1
score="$((cx + scorecountLBL[0])) $((cy + scorecountLBL[1])) ${scorecountLBL[2]} ${scorecountLBL[3]}"
rescued() { shot house-rescue.png && [ "$("$probe" differ "$work/house-empty.png" "$work/house-rescue.png" $score)" -gt 0 ]; }
poll 5 rescued && say "a click on window $occupied rescued someone" || problem "a click on window $occupied rescued nobody"

# The flood: "Gejm Ouvr" above the main window; "OK" ends the game with status 0.
poll 90 find_window "Gejm Ouvr" >/dev/null || fail "'Gejm Ouvr' never came up"
sleep 0.5
windows above "Gejm Ouvr" Tonovka || problem "'Gejm Ouvr' is not above the main window"
read -r _ _ _ _ kx ky _ _ < <(windows geometry "Gejm Ouvr")
xdotool mousemove $((kx + Konec_Command1[0] + Konec_Command1[2] / 2)) $((ky + Konec_Command1[1] + Konec_Command1[3] / 2)) click 1
ended() { ! kill -0 "$game" 2>/dev/null; }
poll 20 ended || fail "the game still runs 20 s after 'OK'"
wait "$game"
status=$?
[ "$status" -eq 0 ] && say "'OK' ended the game with status 0" || problem "'OK' ended the game with status $status"

# Ctrl+Q ends a game too, and one that has a broken siren, no tune and no audio device at all.
head -c 100 "$(dirname "$program")/siren.wav" >"$work/siren.wav" && mv "$work/siren.wav" "$(dirname "$program")/"
rm "$(dirname "$program")/rytmozan.mid"
start_game again.raw no-such-device
poll 60 find_window Form1 >/dev/null || fail "the welcome screen did not show again"
read -r _ _ _ _ wx wy _ _ < <(windows geometry Form1)
xdotool mousemove $((wx + welcome_enterBUTT[0] + 10)) $((wy + welcome_enterBUTT[1] + 10)) click 1
poll 20 find_window Tonovka >/dev/null || fail "the main window did not show again"
sleep 0.5
xdotool key --clearmodifiers ctrl+q
poll 20 ended || fail "the game still runs 20 s after Ctrl+Q"
wait "$game"
status=$?
[ "$status" -eq 0 ] && say "Ctrl+Q ended the game with status 0" || problem "Ctrl+Q ended the game with status $status"
[ "$problems" -eq 0 ] || fail "$problems checks went wrong"
say "PASSED"
