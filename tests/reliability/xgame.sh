# Sourced by the reliability checks: runs the game on a private X display and drives it with
# xdotool, as a player would. Needs Xvfb, openbox (unless asked for no window manager), xdotool,
# xwininfo (x11-utils) and ImageMagick's import. The house's places come from the house-layout
# probe of the game's build (TONOVKA_HOUSE_LAYOUT names another).
#
#   xg_init                          a work folder and the clean-up at exit
#   xg_start_display [wm|none] [--no-bus]
#                                    a private desktop (scripts/x-desktop) with openbox, or
#                                    without a window manager, and with a session bus unless
#                                    told otherwise; sets DISPLAY and XAUTHORITY
#   xg_prepare_game GAME DATA        a game folder with the program and its two sounds
#   xg_start_game [COMMAND...]       starts the program there (COMMAND runs it, e.g. strace ...)
#   xg_wait_window TITLE [SECONDS]   until a window of that title is mapped
#   xg_enter                         clicks "Vstoupit" and waits for the main window
#   xg_key KEYS                      focuses the main window and presses the keys
#   xg_click_house N                 clicks window N (1 to 15) of the house
#   xg_score                         a fingerprint of the score as shown
#   xg_wait_exit [SECONDS]           waits for the program; sets XG_STATUS (124 when it did not end)

source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/x-desktop-here.sh"
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../e2e" && pwd)/window-geometry.sh"

XG_WM=wm
XG_PIDS=()
XG_WORK=
XG_GAME_PID=
XG_STATUS=

xg_log() { echo "[$(date +%T)] $*" >&2; }

xg_cleanup() {
    local pid
    for pid in "${XG_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${XG_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    [ -n "$XG_WORK" ] && [ -z "${XG_KEEP:-}" ] && rm -rf "$XG_WORK"
    return 0
}

xg_init() {
    XG_WORK=$(mktemp -d "${TMPDIR:-/tmp}/tonovka-reliability.XXXXXX")
    trap xg_cleanup EXIT
    trap 'exit 130' INT TERM HUP PIPE
}

xg_start_display() {
    XG_WM=${1:-wm}
    local wm=openbox
    [ "$XG_WM" = wm ] || wm=none
    # The desktop ends with this script, even when a test runner's timeout kills it.
    x_desktop_start "$wm" 1024x768 "${2:-}" || { xg_log "the $wm desktop did not start"; return 1; }
    XG_PIDS+=("$X_DESKTOP_PID")
}

xg_prepare_game() {
    # Where the main window's controls lie in its client area: okno1=(X Y W H) and so on.
    local layout=${TONOVKA_HOUSE_LAYOUT:-$(dirname "$1")/../tools/houselayout/house-layout}
    eval "$("$layout" 2>/dev/null)" && [ ${#okno15[@]} -eq 4 ] || { xg_log "no house layout from $layout"; return 1; }
    mkdir -p "$XG_WORK/game"
    cp "$1" "$XG_WORK/game/tonovka"
    cp "$2/siren.wav" "$2/rytmozan.mid" "$XG_WORK/game/"
}

xg_start_game() {
    (cd "$XG_WORK/game" && exec setpriv --pdeathsig KILL "$@" ./tonovka >"$XG_WORK/game.log" 2>&1 </dev/null) &
    XG_GAME_PID=$!
    XG_PIDS+=("$XG_GAME_PID")
}

# The game's mapped window of that title.
xg_window_id() {
    x_desktop_windows "^$1\$" | head -n 1
}

# Sets XG_X, XG_Y, XG_W, XG_H: where the window's client area really lies on the screen.
xg_geometry() {
    local id
    id=$(xg_window_id "$1")
    [ -n "$id" ] || return 1
    read -r XG_X XG_Y XG_W XG_H < <(window_client "$id")
}

xg_is_mapped() {
    [ -n "$(xg_window_id "$1")" ]
}

xg_wait_window() {
    local title=$1 seconds=${2:-20} i
    for i in $(seq $((seconds * 20))); do
        xg_is_mapped "$title" && return 0
        kill -0 "$XG_GAME_PID" 2>/dev/null || { xg_log "the program ended while waiting for \"$title\""; return 1; }
        sleep 0.05
    done
    xg_log "no window \"$title\" within $seconds s"
    return 1
}

# No --sync: when the pointer is already there, xdotool waits for a move that never comes.
xg_click_at() {
    xdotool mousemove "$1" "$2" click 1
}

# "Vstoupit" lies at (8, 48) on the welcome screen and is 81 x 25.
xg_enter() {
    xg_wait_window Form1 || return 1
    xg_geometry Form1 || return 1
    xg_click_at $((XG_X + 48)) $((XG_Y + 60))
    xg_wait_window Tonovka
}

xg_focus() {
    local id
    id=$(xg_window_id "$1")
    [ -n "$id" ] || return 1
    if [ "$XG_WM" = wm ]; then
        xdotool windowactivate --sync "$id" 2>/dev/null
    else
        xdotool windowfocus --sync "$id" 2>/dev/null
    fi
}

xg_key() {
    xg_focus Tonovka || { xg_log "cannot focus the main window"; return 1; }
    xdotool key --clearmodifiers "$@"
}

# The middle of window N of the house.
xg_house_point() {
    local -n pane="okno$1"
    xg_geometry Tonovka || return 1
    XG_PX=$((XG_X + pane[0] + pane[2] / 2))
    XG_PY=$((XG_Y + pane[1] + pane[3] / 2))
}

xg_click_house() {
    xg_house_point "$1" || return 1
    xg_click_at "$XG_PX" "$XG_PY"
}

# The score: its label down to the time label, which changes on its own.
xg_score() {
    xg_geometry Tonovka || return 1
    local size="${scorecountLBL[2]}x$((timecountLBL[1] - scorecountLBL[1]))"
    import -silent -window root -crop "$size+$((XG_X + scorecountLBL[0]))+$((XG_Y + scorecountLBL[1]))" rgb:- 2>/dev/null | md5sum | cut -c1-12
}

# The house's fifteen windows as shown.
xg_house() {
    xg_geometry Tonovka || return 1
    local size="$((okno15[0] + okno15[2] - okno1[0]))x$((okno15[1] + okno15[3] - okno1[1]))"
    import -silent -window root -crop "$size+$((XG_X + okno1[0]))+$((XG_Y + okno1[1]))" rgb:- 2>/dev/null | md5sum | cut -c1-12
}

xg_wait_exit() {
    local seconds=${1:-10} i
    for i in $(seq $((seconds * 100))); do
        kill -0 "$XG_GAME_PID" 2>/dev/null || break
        sleep 0.01
    done
    if kill -0 "$XG_GAME_PID" 2>/dev/null; then
        XG_STATUS=124
        return 1
    fi
    XG_STATUS=0
    wait "$XG_GAME_PID" || XG_STATUS=$?
}
