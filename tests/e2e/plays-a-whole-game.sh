#!/usr/bin/env bash
# Plays one whole game of the real program on an X desktop, as a player would, with the steps of
# tests/play/player-steps.sh. On the way it checks what the window manager does with the screens:
# frames, places on the work area, task-bar entries, stacking, the keyboard, and the main
# window's size after another client resizes it. The program's sound goes through SDL's disk
# driver into out.raw.
#
# Usage: scripts/x-desktop WM -- plays-a-whole-game.sh TONOVKA DATA_FOLDER E2EPROBE HOUSE_LAYOUT
# The screenshots, the logs and the sound stay in a folder under $TMPDIR when the test fails, or
# always with TONOVKA_KEEP_RUN=1; the last lines say where.
set -u -o pipefail

if [ $# -ne 4 ] || [ -z "${DISPLAY:-}" ]; then
    echo "usage: scripts/x-desktop WM -- $0 TONOVKA DATA_FOLDER E2EPROBE HOUSE_LAYOUT" >&2
    exit 2
fi
program=$(realpath "$1") data=$(realpath "$2") e2eprobe=$(realpath "$3") house=$(realpath "$4")
wm=${X_DESKTOP_WM:-the window manager}
here=$(dirname "$(realpath "$0")")
source "$here/../../scripts/x-desktop-here.sh"
source "$here/window-geometry.sh"
source "$here/../play/report.sh"
source "$here/../play/player-steps.sh"
source "$here/../play/on-x.sh"

run_ends() {
    [ "$1" -eq 0 ] || game_shot "$work/shot-at-failure.png" 2>/dev/null
    if [ "$1" -ne 0 ] && [ -s "$work/program.log" ]; then
        echo "The program's last words (program.log, without FluidSynth's):"
        grep -v FluidSynth "$work/program.log" | tail -n 15
    fi
    stop_game
}

# ---------------------------------------------------------------------------------------------
# The player's eyes on an X desktop; tests/play/on-x.sh gives the rest.
game_start() {
    (cd "$work/play" && exec env -u SESSION_MANAGER -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/runtime" \
        "${disk_sound[@]}" QT_LOGGING_RULES="tonovka.sound.debug=true" "$program") >"$work/program.log" 2>&1 &
    game_pid=$!
}
window_of() { x_desktop_windows "^$1\$" | head -n 1; }
game_window() {
    local id
    id=$(window_of "$1") && [ -n "$id" ] && window_client "$id"
}
# A rootless X server (XWayland under mutter) keeps no picture of the root window, only one of
# each window: there the screen is put together from the mapped windows' own pictures, from the
# bottom of the stack up, on black.
game_shot() {
    [ "$root_shots" = no ] || { import -silent -window root "png:$1"; return; }
    local id x y w h layers=()
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' ' '); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
        read -r x y w h < <(window_client "$id")
        # A window that has just gone is left out.
        import -silent -window "$id" "miff:$work/layer-$id.miff" 2>/dev/null || continue
        layers+=("$work/layer-$id.miff" -geometry "+$x+$y" -composite)
    done
    convert -size "${screen_w}x${screen_h}" xc:black "${layers[@]}" "png:$1"
    local status=$?
    rm -f "$work"/layer-*.miff
    return $status
}
MUSIC_CAPTURED=yes

# ---------------------------------------------------------------------------------------------
# What the window manager does with the screens.
check_centred() {
    local x y w h
    read -r x y w h < <(window_outer "$2")
    say "$1 with its frame: ${w}x${h} at ($x,$y); frame extents $(window_frame "$2")"
    lies_centred "$x" "$y" "$w" "$h" || problem "$1 is not centred on the work area ${area_w}x${area_h}+${area_x}+${area_y}"
}
main_centred() {
    local x y w h
    read -r x y w h < <(window_outer "$main")
    lies_centred "$x" "$y" "$w" "$h"
}
root_window() { xprop -root "$1" | sed -n 's/.*# *\(0x[0-9a-f]*\).*/\1/p'; }
is_active() { [ $(($(root_window _NET_ACTIVE_WINDOW))) -eq $(($1)) ]; }
check_no_taskbar_entry() {
    xprop -id "$2" _NET_WM_STATE | grep -q '_NET_WM_STATE_SKIP_TASKBAR' || problem "$1 has a task-bar entry"
}
has_frame() { [ -n "$(window_frame "$1")" ]; }
outer_size() { window_outer "$main" | awk '{ print $3 " " $4 }'; }
outer_is_held() { [ "$(outer_size)" = "${layout[outerSize]}" ]; }
# Notes a wrong result unless the outer size comes to the layout's and stays there.
check_outer_size() {
    if poll 5 outer_is_held; then
        sleep 0.5
        outer_is_held || problem "the main window's outer size $1 did not hold: $(outer_size)"
    else
        problem "the main window's outer size $1 is $(outer_size), not ${layout[outerSize]}"
    fi
}

on_welcome() {
    local welcome extents
    welcome=$(window_of Form1)
    # A window manager that gives a borderless window no frame may not name one either.
    poll 3 has_frame "$welcome" || say "no frame extents on the welcome screen"
    extents=$(window_frame "$welcome")
    [ "${extents:-0 0 0 0}" = "0 0 0 0" ] || problem "the welcome screen has a frame: _NET_FRAME_EXTENTS $extents"
    check_centred "the welcome screen" "$welcome"
    check_no_taskbar_entry "the welcome screen" "$welcome"
}

on_main() {
    main=$(window_of Tonovka)
    poll 5 has_frame "$main" || fail "$wm never framed the main window"
    check_outer_size "when first framed"
    poll 5 main_centred || say "the main window did not come to the middle in 5 s"
    check_centred "the main window" "$main"
    poll 5 is_active "$main" || fail "the main window never became the active window; $(xprop -root _NET_ACTIVE_WINDOW)"
    # Another client asks for a new size: the window takes its own back, in its own place.
    xdotool windowsize "$main" 700 600
    check_outer_size "after another client's resize request"
    poll 5 main_centred || say "the main window did not come to the middle in 5 s"
    check_centred "the main window after the resize request" "$main"
}

on_game_over() {
    local konec id stack=''
    konec=$(window_of "Gejm Ouvr")
    poll 5 has_frame "$konec" || fail "$wm never framed 'Gejm Ouvr'"
    check_centred "'Gejm Ouvr'" "$konec"
    check_no_taskbar_entry "'Gejm Ouvr'" "$konec"
    lies_within "$(window_outer "$konec")" "$(window_outer "$main")" ||
        problem "the frame of 'Gejm Ouvr' does not lie within the main window's"
    # The window manager lists its windows from the bottom of the stack to the top.
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' ' '); do stack+=" $((id)) "; done
    [[ $stack == *" $((main)) "*" $((konec)) "* ]] ||
        problem "'Gejm Ouvr' is not stacked above the main window: $(xprop -root _NET_CLIENT_LIST_STACKING)"
    # "OK" has the focus, so the new screen is to take the keyboard.
    poll 3 is_active "$konec" || problem "'Gejm Ouvr' did not become the active window: $(xprop -root _NET_ACTIVE_WINDOW)"
}

# ---------------------------------------------------------------------------------------------
say "run folder: $work"
for tool in xdotool xprop xwininfo import convert awk realpath; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/debian-packages lists the test packages)"
done
convert -version | grep -q ImageMagick || fail "'convert' is not ImageMagick's"
[ -x "$program" ] || fail "no program at $program"
[ -x "$e2eprobe" ] || fail "no probe at $e2eprobe"
read_the_house "$house" outerSize
mkdir -p "$work/play" "$work/runtime" && chmod 700 "$work/runtime"
cp "$data/siren.wav" "$data/rytmozan.mid" "$work/play/" || fail "cannot copy the sounds from $data"

poll 10 xwininfo -root >/dev/null 2>&1 || fail "the X server on $DISPLAY does not answer"
read -r _ _ screen_w screen_h < <(window_client "$(xwininfo -root | awk '/Window id:/ { print $4 }')")
root_shots=yes
import -silent -window root "ppm:/dev/null" 2>/dev/null || root_shots=no
read -r area_x area_y area_w area_h _ < <(xprop -root _NET_WORKAREA | sed -n 's/.*= *//p' | tr -d ',')
[ -n "${area_h:-}" ] || { area_x=0 area_y=0 area_w=$screen_w area_h=$screen_h; }
say "X server on $DISPLAY, screen ${screen_w}x${screen_h}, work area ${area_w}x${area_h}+${area_x}+${area_y}, window manager $wm"
say "screenshots of the root window: $root_shots; frame extents named: $(window_frames_named && echo yes || echo no)"

play_a_whole_game "$e2eprobe"
passed
