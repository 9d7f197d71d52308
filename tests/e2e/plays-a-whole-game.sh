#!/usr/bin/env bash
# Plays one whole game of the real program on an X desktop, as a player would: the welcome
# screen with its siren, "Vstoupit", Ctrl+N, one rescue, the flood, "OK". On the way it checks
# what the window manager does with the screens: sizes with the frame, places on the work area,
# task-bar entries, stacking, and the main window's size after another client resizes it.
# The program's sound goes through SDL's disk driver into out.raw, which is checked afterwards.
#
# Usage: scripts/x-desktop WM -- plays-a-whole-game.sh TONOVKA DATA_FOLDER E2EPROBE HOUSE_LAYOUT
# The screenshots, the logs and the sound stay in a folder under $TMPDIR when the test fails, or
# always with TONOVKA_KEEP_RUN=1; the last lines say where.
set -u -o pipefail

if [ $# -ne 4 ] || [ -z "${DISPLAY:-}" ]; then
    echo "usage: scripts/x-desktop WM -- $0 TONOVKA DATA_FOLDER E2EPROBE HOUSE_LAYOUT" >&2
    exit 2
fi
program=$(realpath "$1")
data=$(realpath "$2")
probe=$(realpath "$3")
layout=$(realpath "$4")
wm=${X_DESKTOP_WM:-the window manager}
source "$(dirname "$(realpath "$0")")/../../scripts/x-desktop-here.sh"
source "$(dirname "$(realpath "$0")")/window-geometry.sh"

# The program's sound device: 44100 frames a second, two channels of 16 bits.
readonly BYTES_PER_SECOND=$((44100 * 2 * 2))
readonly EMPTY_FRAME="192 192 192" WHITE="255 255 255" WATER="192 255 255"

work=$(mktemp -d "${TMPDIR:-/tmp}/tonovka-desktop.XXXXXX")
log=$work/steps.log
now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# Milliseconds as seconds with three decimals.
seconds() {
    printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000))
}

started_at=$(now_ms)
program_pid='' passed=no
problems=()

say() {
    local line
    line=$(printf '[%7s] %s' "$(seconds $(($(now_ms) - started_at)))" "$*")
    echo "$line" | tee -a "$log"
}

fail() {
    say "FAILED: $*"
    exit 1
}

# A wrong result that does not stop the game from being played on: the run goes on and fails at
# the end, so that one run shows every fault it meets.
problem() {
    say "WRONG: $*"
    problems+=("$*")
}

stop() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

finish() {
    local status=$?
    if [ "$passed" != yes ]; then
        take_shot shot-at-failure.png 2>/dev/null
    fi
    if [ "$passed" != yes ] && [ -s "$work/program.log" ]; then
        echo "The program's last words (program.log, without FluidSynth's):"
        grep -v FluidSynth "$work/program.log" | tail -n 15
    fi
    stop "$program_pid"
    if [ "$passed" = yes ] && [ "${TONOVKA_KEEP_RUN:-0}" != 1 ]; then
        rm -rf "$work"
    else
        echo "Screenshots, logs and the recorded sound are in $work"
        echo "  steps.log, marks, program.log, shot-*.png, out.raw"
    fi
    exit "$status"
}
trap finish EXIT
trap 'fail "interrupted by SIGINT"' INT
trap 'fail "interrupted by SIGTERM"' TERM

# Runs a command every 50 ms until it succeeds or the seconds run out.
poll() {
    local seconds=$1
    shift
    local deadline=$(($(now_ms) + seconds * 1000))
    until "$@"; do
        [ "$(now_ms)" -gt "$deadline" ] && return 1
        sleep 0.05
    done
}

elapsed_since() {
    seconds $(($(now_ms) - $1))
}

sound_seconds() {
    seconds $(($1 * 1000 / BYTES_PER_SECOND))
}

sound_bytes() {
    stat -c %s "$work/out.raw" 2>/dev/null || echo 0
}

# Remembers when a step happened and how much sound had been written by then.
mark() {
    local name=$1 clock bytes
    clock=$(date +%s.%N)
    bytes=$(sound_bytes)
    printf -v "time_$name" '%s' "$(now_ms)"
    printf -v "bytes_$name" '%s' "$bytes"
    echo "$name $clock $bytes" >>"$work/marks"
    say "step '$name': $bytes bytes of sound written ($(sound_seconds "$bytes") s)"
}

# Notes a wrong result unless the frame X Y W H lies in the middle of the work area (the screen
# without the task bar), give or take a pixel.
check_centred() {
    local what=$1 x=$2 y=$3 w=$4 h=$5
    say "$what margins: left $((x - area_x)) right $((area_x + area_w - x - w)) top $((y - area_y)) bottom $((area_y + area_h - y - h))"
    lies_centred "$x" "$y" "$w" "$h" || problem "$what is not centred on the work area ${area_w}x${area_h}+${area_x}+${area_y}"
}
# The main window may move more than once before it rests in the middle: when its frame is first
# known, and again when its size is held. A busy machine can be read in between.
main_centred() {
    local x y w h
    read -r x y w h < <(window_outer "$main")
    lies_centred "$x" "$y" "$w" "$h"
}

# A picture of the whole screen. A rootless X server (XWayland under mutter) keeps no picture of
# the root window, only one of each window: there the screen is put together from the mapped
# windows' own pictures, from the bottom of the stack up, on black.
take_shot() {
    if [ "$root_shots" = yes ]; then
        import -silent -window root "png:$work/$1"
        return
    fi
    local id x y w h layers=()
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' ' '); do
        [ "$(map_state "$id")" = IsViewable ] || continue
        read -r x y w h < <(window_client "$id")
        # A window that has just gone is left out.
        import -silent -window "$id" "miff:$work/layer-$id.miff" 2>/dev/null || continue
        layers+=("$work/layer-$id.miff" -geometry "+$x+$y" -composite)
    done
    convert -size "${screen_w}x${screen_h}" xc:black "${layers[@]}" "png:$work/$1"
    local status=$?
    rm -f "$work"/layer-*.miff
    return $status
}

shot() {
    take_shot "$1" || fail "cannot take the screenshot $1"
}

visible_window() {
    x_desktop_windows "$1" | head -n 1
}

map_state() {
    xwininfo -id "$1" 2>/dev/null | awk '/Map State:/ { print $3 }'
}

# The first window id of a root window property, e.g. the active window.
root_window() {
    xprop -root "$1" | sed -n 's/.*# *\(0x[0-9a-f]*\).*/\1/p'
}

is_active() {
    [ $(($(root_window _NET_ACTIVE_WINDOW))) -eq $(($1)) ]
}

# Notes a wrong result when the window has an entry in the task bar.
check_no_taskbar_entry() {
    local states
    states=$(xprop -id "$2" _NET_WM_STATE)
    say "$1 $states"
    echo "$states" | grep -q '_NET_WM_STATE_SKIP_TASKBAR' || problem "$1 has a task-bar entry"
}

has_frame() {
    [ -n "$(window_frame "$1")" ]
}

pixel_is() {
    [ "$("$probe" pixel "$work/$1" "$2" "$3")" = "$4" ]
}

# ---------------------------------------------------------------------------------------------
say "run folder: $work"
for tool in xdotool xprop xwininfo import convert awk realpath; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/debian-packages lists the test packages)"
done
convert -version | grep -q ImageMagick || fail "'convert' is not ImageMagick's"
[ -x "$program" ] || fail "no program at $program"
[ -x "$probe" ] || fail "no probe at $probe"
# Where the main window's controls lie in its client area: okno1=(X Y W H) and so on.
eval "$("$layout" 2>/dev/null)" || fail "$layout printed no layout"
[ ${#okno1[@]} -eq 4 ] && [ ${#scorecountLBL[@]} -eq 4 ] && [ ${#voda[@]} -eq 4 ] && [ ${#outerSize[@]} -eq 2 ] ||
    fail "the layout lacks okno1, scorecountLBL, voda or outerSize"
readonly OUTER_SIZE=${outerSize[0]}x${outerSize[1]}
readonly WINDOW_W=${okno1[2]} WINDOW_H=${okno1[3]}
readonly WINDOW_DX=$((okno2[0] - okno1[0])) WINDOW_DY=$((okno6[1] - okno1[1]))
# The top of the score label, above the time label, which changes on its own.
readonly SCORE_X=${scorecountLBL[0]} SCORE_Y=${scorecountLBL[1]} SCORE_W=${scorecountLBL[2]}
readonly SCORE_H=$((timecountLBL[1] - scorecountLBL[1]))
readonly WATER_TOP=${voda[1]}
# Window N of the house: its top-left corner in the client area.
pane() {
    local -n place="okno$1"
    echo "${place[0]} ${place[1]}"
}

mkdir -p "$work/play" "$work/runtime" "$work/config" "$work/cache"
chmod 700 "$work/runtime"
cp "$data/siren.wav" "$data/rytmozan.mid" "$work/play/" || fail "cannot copy the sounds from $data"

x_answers() { xwininfo -root >/dev/null 2>&1; }
poll 10 x_answers || fail "the X server on $DISPLAY does not answer"
read -r _ _ screen_w screen_h < <(window_client "$(xwininfo -root | awk '/Window id:/ { print $4 }')")
root_shots=yes
import -silent -window root "ppm:/dev/null" 2>/dev/null || root_shots=no
names_frames=yes
window_frames_named || names_frames=no
read -r area_x area_y area_w area_h _ < <(xprop -root _NET_WORKAREA | sed -n 's/.*= *//p' | tr -d ',')
[ -n "$area_h" ] || { area_x=0 area_y=0 area_w=$screen_w area_h=$screen_h; }
say "X server on $DISPLAY, screen ${screen_w}x${screen_h}, work area ${area_w}x${area_h}+${area_x}+${area_y}, window manager $wm"
say "screenshots of the root window: $root_shots; frame extents named by the window manager: $names_frames"

# ---------------------------------------------------------------------------------------------
# 1. The welcome screen: borderless, centred, kept out of the task bar, with the siren.
cd "$work/play" || fail "cannot enter $work/play"
env -u SESSION_MANAGER -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/runtime" \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" \
    QT_LOGGING_RULES="tonovka.sound.debug=true" \
    "$program" >"$work/program.log" 2>&1 &
program_pid=$!
mark start

welcome=''
find_welcome() { welcome=$(visible_window '^Form1$'); [ -n "$welcome" ]; }
poll 30 find_welcome || fail "the welcome screen 'Form1' never showed"
mark welcome
# A window manager that gives a borderless window no frame may not name one either.
poll 3 has_frame "$welcome" || say "no frame extents on the welcome screen"
read -r wx wy ww wh < <(window_client "$welcome")
read -r fx fy fw fh < <(window_outer "$welcome")
extents=$(window_frame "$welcome")
say "welcome client ${ww}x${wh} at ($wx,$wy); with its frame ${fw}x${fh} at ($fx,$fy); frame extents ${extents:-none}"
[ "${ww}x${wh}" = 196x243 ] || problem "the welcome screen's client area is ${ww}x${wh}, not 196x243"
[ "${extents:-0 0 0 0}" = "0 0 0 0" ] || problem "the welcome screen has a frame: _NET_FRAME_EXTENTS $extents"
check_centred "the welcome screen" "$fx" "$fy" "$fw" "$fh"
check_no_taskbar_entry "the welcome screen" "$welcome"
mostly_white() {
    shot shot-welcome.png
    [ "$("$probe" count "$work/shot-welcome.png" "$wx" "$wy" "$ww" "$wh" $WHITE)" -gt $((ww * wh / 2)) ]
}
poll 5 mostly_white || problem "the welcome screen is not mostly white"

# Let the siren be heard for a while before entering.
enough_siren() { [ "$(sound_bytes)" -ge $((BYTES_PER_SECOND * 3 / 2)) ]; }
poll 20 enough_siren || fail "the disk driver wrote no sound to out.raw (program.log)"

# ---------------------------------------------------------------------------------------------
# 2. "Vstoupit": the main window comes, at its outer size with its frame, and the welcome screen goes.
mark enter
# The server handles the move before the click; "mousemove --sync" would wait for ever when the
# pointer already stands on the spot.
xdotool mousemove $((wx + 8 + 40)) $((wy + 48 + 12)) click 1
main=''
find_main() { main=$(visible_window '^Tonovka$'); [ -n "$main" ]; }
poll 10 find_main || fail "the main window 'Tonovka' never showed after 'Vstoupit'"
mark main
welcome_gone() { [ "$(map_state "$welcome")" != IsViewable ]; }
poll 5 welcome_gone || fail "the welcome screen stayed on the screen after 'Vstoupit'"
say "welcome screen is now $(map_state "$welcome")"
poll 5 has_frame "$main" || fail "$wm never framed the main window"
outer_size() {
    window_outer "$main" | awk '{ print $3 "x" $4 }'
}
outer_is_held() { [ "$(outer_size)" = "$OUTER_SIZE" ]; }
# Notes a wrong result unless the outer size comes to the layout's and stays there.
check_outer_size() {
    say "main window's outer size $1: $(outer_size)"
    if poll 5 outer_is_held; then
        sleep 0.5
        outer_is_held || problem "the main window's outer size $1 did not hold: $(outer_size)"
    else
        problem "the main window's outer size $1 is $(outer_size), not $OUTER_SIZE"
    fi
}
check_outer_size "when first framed"
poll 5 main_centred || say "the main window did not come to the middle in 5 s"
read -r mx my mw mh < <(window_client "$main")
read -r mfx mfy mfw mfh < <(window_outer "$main")
say "main client ${mw}x${mh} at ($mx,$my); frame extents $(window_frame "$main"); with its frame ${mfw}x${mfh} at ($mfx,$mfy)"
check_centred "the main window" "$mfx" "$mfy" "$mfw" "$mfh"
main_active() { is_active "$main"; }
poll 5 main_active || fail "the main window never became the active window; $(xprop -root _NET_ACTIVE_WINDOW)"

# Another client asks for a new size: the window takes its own back, in its own place.
xdotool windowsize "$main" 700 600
check_outer_size "after another client's resize request"
poll 5 main_centred || say "the main window did not come to the middle in 5 s"
read -r mx my mw mh < <(window_client "$main")
read -r mfx mfy mfw mfh < <(window_outer "$main")
check_centred "the main window after the resize request" "$mfx" "$mfy" "$mfw" "$mfh"

# The house's windows, where the layout puts them in the client area.
shot shot-house-empty.png
cx=$mx cy=$my
grid() { echo "$((cx + okno1[0])) $((cy + okno1[1])) $WINDOW_W $WINDOW_H $WINDOW_DX $WINDOW_DY 5 3"; }
for n in $(seq 15); do
    read -r x y < <(pane "$n")
    x=$((cx + x)) y=$((cy + y))
    white=$("$probe" count "$work/shot-house-empty.png" $x $y $WINDOW_W $WINDOW_H $WHITE)
    frame=$("$probe" count "$work/shot-house-empty.png" $x $y $WINDOW_W $WINDOW_H $EMPTY_FRAME)
    [ $((white + frame)) -eq $((WINDOW_W * WINDOW_H)) ] ||
        fail "window $n at ($x,$y) is not an empty pane before the game (shot-house-empty.png)"
done
say "all fifteen windows are empty panes before the game"

# ---------------------------------------------------------------------------------------------
# 3. Ctrl+N: people appear; rescue one and the score changes.
xdotool key --clearmodifiers ctrl+n
mark newgame
occupied=''
shots=0
find_people() {
    shots=$((shots + 1))
    shot shot-people.png
    local changed n=0
    occupied=''
    for changed in $("$probe" cells "$work/shot-house-empty.png" "$work/shot-people.png" $(grid)); do
        n=$((n + 1))
        [ "$changed" -gt 100 ] && occupied="$occupied $n"
    done
    [ -n "$occupied" ]
}
sleep 0.8
poll 10 find_people || fail "nobody appeared in the windows after Ctrl+N (shot-people.png)"
say "people seen $(elapsed_since "$time_newgame") s after Ctrl+N (screenshot $shots) in windows:$occupied"
[ "$("$probe" differ "$work/shot-house-empty.png" "$work/shot-people.png" $((cx + SCORE_X)) $((cy + SCORE_Y)) $SCORE_W $SCORE_H)" -eq 0 ] ||
    fail "the score changed with no rescue (shot-house-empty.png, shot-people.png)"

read -r rescued _ <<<"$occupied"
read -r rx ry < <(pane "$rescued")
rx=$((cx + rx + WINDOW_W / 2)) ry=$((cy + ry + WINDOW_H / 2))
xdotool mousemove $rx $ry click 1
mark rescue
say "clicked window $rescued at ($rx,$ry)"
score_changed() {
    shot shot-rescued.png
    [ "$("$probe" differ "$work/shot-people.png" "$work/shot-rescued.png" $((cx + SCORE_X)) $((cy + SCORE_Y)) $SCORE_W $SCORE_H)" -gt 0 ]
}
poll 5 score_changed || fail "the score did not change after clicking window $rescued (shot-people.png, shot-rescued.png)"
say "the score changed $(elapsed_since "$time_rescue") s after the click"
window_left=$("$probe" cells "$work/shot-house-empty.png" "$work/shot-rescued.png" $(grid) | cut -d' ' -f"$rescued")
say "window $rescued now differs from an empty pane in $window_left pixels (0 unless someone came again)"

# ---------------------------------------------------------------------------------------------
# 4. The time runs out: the water, and "Gejm Ouvr" over the main window.
konec=''
find_konec() { konec=$(visible_window '^Gejm Ouvr$'); [ -n "$konec" ]; }
poll 90 find_konec || fail "'Gejm Ouvr' never showed (the time should run out about 21 s after Ctrl+N)"
mark gameover
say "'Gejm Ouvr' showed $(elapsed_since "$time_newgame") s after Ctrl+N"
poll 5 has_frame "$konec" || fail "$wm never framed 'Gejm Ouvr'"
read -r kx ky kw kh < <(window_client "$konec")
read -r kfx kfy kfw kfh < <(window_outer "$konec")
say "'Gejm Ouvr' client ${kw}x${kh} at ($kx,$ky); frame extents $(window_frame "$konec"); with its frame ${kfw}x${kfh} at ($kfx,$kfy)"
check_centred "'Gejm Ouvr'" "$kfx" "$kfy" "$kfw" "$kfh"
check_no_taskbar_entry "'Gejm Ouvr'" "$konec"
[ "$kfx" -ge "$mfx" ] && [ "$kfy" -ge "$mfy" ] && [ $((kfx + kfw)) -le $((mfx + mfw)) ] &&
    [ $((kfy + kfh)) -le $((mfy + mfh)) ] || problem "'Gejm Ouvr' does not lie over the main window"
# The window manager lists its windows from the bottom of the stack to the top.
konec_place='' main_place='' place=0
for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' ' '); do
    place=$((place + 1))
    [ $((id)) -eq "$konec" ] && konec_place=$place
    [ $((id)) -eq "$main" ] && main_place=$place
done
[ -n "$konec_place" ] && [ -n "$main_place" ] && [ "$konec_place" -gt "$main_place" ] ||
    problem "'Gejm Ouvr' is not stacked above the main window: $(xprop -root _NET_CLIENT_LIST_STACKING)"

flooded=''
water_everywhere() {
    shot shot-gameover.png
    pixel_is shot-gameover.png $((cx + 2)) $((cy + WATER_TOP)) "$WATER" || return 1
    ! pixel_is shot-gameover.png $((cx + 2)) $((cy + WATER_TOP - 1)) "$WATER" || return 1
    local n x y covered
    flooded=''
    for n in $(seq 15); do
        read -r x y < <(pane "$n")
        x=$((cx + x)) y=$((cy + y))
        # Windows hidden behind "Gejm Ouvr" are not looked at.
        [ $((x + WINDOW_W)) -le "$kfx" ] || [ "$x" -ge $((kfx + kfw)) ] ||
            [ $((y + WINDOW_H)) -le "$kfy" ] || [ "$y" -ge $((kfy + kfh)) ] || continue
        covered=$("$probe" count "$work/shot-gameover.png" $x $y $WINDOW_W $WINDOW_H $WATER)
        [ "$covered" -eq $((WINDOW_W * WINDOW_H)) ] || return 1
        flooded="$flooded $n"
    done
    [ "$(wc -w <<<"$flooded")" -ge 3 ]
}
poll 5 water_everywhere || fail "the water does not cover the house from row $WATER_TOP down (shot-gameover.png)"
say "water from row $WATER_TOP of the house down; windows seen under water:$flooded"
say "main window's outer size at game over: $(outer_size)"
# "OK" has the focus, so the new screen is to take the keyboard.
konec_active() { is_active "$konec"; }
poll 3 konec_active ||
    problem "'Gejm Ouvr' did not become the active window: $(xprop -root _NET_ACTIVE_WINDOW), 'Gejm Ouvr' is $(printf '0x%x' "$konec")"

# Leave two seconds of sound after the flood, to hear that the music has stopped.
enough_silence() { [ "$(sound_bytes)" -ge $((bytes_gameover + 2 * BYTES_PER_SECOND)) ]; }
poll 15 enough_silence || fail "the disk driver stopped writing after game over"

# ---------------------------------------------------------------------------------------------
# 5. "OK" ends the program with status 0.
mark ok
xdotool mousemove $((kx + 8 + 148)) $((ky + 104 + 16)) click 1
program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
poll 10 program_ended || fail "the program still runs 10 s after 'OK'"
wait "$program_pid"
status=$?
program_pid=''
say "the program ended $(elapsed_since "$time_ok") s after 'OK', with status $status"
[ "$status" -eq 0 ] || fail "the program ended with status $status (program.log)"
[ $(($(now_ms) - time_ok)) -lt 3000 ] || fail "the program took more than 3 s to end after 'OK'"

# ---------------------------------------------------------------------------------------------
# The sound: the siren on the welcome screen, the music in the game, silence after the flood.
total=$(sound_bytes)
say "sound written: $total bytes ($(sound_seconds "$total") s)"
level() {
    "$probe" level "$work/out.raw" "$1" "$2"
}
value() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2"; }
at_least() { awk -v value="$1" -v least="$2" 'BEGIN { exit !(value + 0 >= least + 0) }'; }

siren=$(level 0 "$bytes_enter") || fail "cannot measure the siren"
say "welcome screen (siren), 0 to 'Vstoupit': $siren"
at_least "$(value rms "$siren")" 1000 || fail "the siren was not heard on the welcome screen"

# The siren lasts three seconds from the start of the sound; after four only the music plays,
# which starts as the main window shows.
music_from=$((bytes_main + BYTES_PER_SECOND / 2))
music_from=$((music_from > 4 * BYTES_PER_SECOND ? music_from : 4 * BYTES_PER_SECOND))
music=$(level "$music_from" "$bytes_gameover") || fail "cannot measure the music"
say "game (music alone), $music_from to game over: $music"
at_least "$(value rms "$music")" 1000 || fail "the music was not heard during the game"
at_least "$(value quietest "$music")" 100 || fail "the music fell silent for half a second during the game"

quiet_from=$((bytes_gameover + BYTES_PER_SECOND / 2))
after=$(level "$quiet_from" "$bytes_ok") || fail "cannot measure the sound after the flood"
say "after the flood, half a second after 'Gejm Ouvr' to 'OK': $after"
[ "$(value peak "$after")" -le 64 ] || fail "sound went on after the flood"

if [ ${#problems[@]} -gt 0 ]; then
    printf -v list '\n  - %s' "${problems[@]}"
    fail "the game was played to its end, but ${#problems[@]} thing(s) were wrong:$list"
fi
passed=yes
say "PASSED"
