# Sourced by scripts that want a private desktop for the rest of their run, rather than
# running one command on it:
#
#   source scripts/x-desktop-here.sh
#   x_desktop_start WM [WxH] [--no-bus]
#                               starts scripts/x-desktop WM in the background and exports its
#                               DISPLAY, XAUTHORITY and DBUS_SESSION_BUS_ADDRESS (unset with
#                               --no-bus), and its folder as X_DESKTOP_DIR; X_DESKTOP_PID is
#                               the desktop's process
#   x_desktop_stop              ends it; it also ends, and cleans up, when the script ends,
#                               even by SIGKILL
#   x_desktop_windows TITLE     the ids of the game's own mapped windows whose title matches
#                               the pattern TITLE, one a line

X_DESKTOP_PID=
x_desktop_script=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/x-desktop

x_desktop_start() {
    local wm=$1 screen=${2:-1024x768} bus=${3:-} folder facts
    # The facts lie in a folder of this user's alone: its name is on the desktop's command line
    # for every user to see, and nobody else may put a file or a link there before the desktop.
    folder=$(mktemp -d "${TMPDIR:-/tmp}/x-desktop-facts.XXXXXX") || return 1
    facts=$folder/facts
    # The desktop's command writes where it is and then waits for this script to end.
    setpriv --pdeathsig TERM "$x_desktop_script" --screen "$screen" $bus "$wm" -- \
        sh -c 'printf "%s\n" "$DISPLAY" "$XAUTHORITY" "$X_DESKTOP_DIR" "${DBUS_SESSION_BUS_ADDRESS:-}" >"$1.new" && mv "$1.new" "$1" && exec sleep infinity' \
        - "$facts" </dev/null &
    X_DESKTOP_PID=$!
    local tries=1200
    until [ -s "$facts" ]; do
        kill -0 "$X_DESKTOP_PID" 2>/dev/null && [ "$tries" -gt 0 ] || {
            echo "x-desktop: the $wm desktop did not start" >&2
            rm -rf "$folder"
            return 1
        }
        tries=$((tries - 1))
        sleep 0.05
    done
    { read -r DISPLAY; read -r XAUTHORITY; read -r X_DESKTOP_DIR; read -r DBUS_SESSION_BUS_ADDRESS; } <"$facts"
    rm -rf "$folder"
    export DISPLAY XAUTHORITY X_DESKTOP_DIR X_DESKTOP_WM=$wm
    if [ -n "$DBUS_SESSION_BUS_ADDRESS" ]; then
        export DBUS_SESSION_BUS_ADDRESS
    else
        unset DBUS_SESSION_BUS_ADDRESS
    fi
}

x_desktop_stop() {
    [ -n "$X_DESKTOP_PID" ] || return 0
    kill "$X_DESKTOP_PID" 2>/dev/null || true
    wait "$X_DESKTOP_PID" 2>/dev/null || true
    X_DESKTOP_PID=
    return 0
}

# A title alone does not tell the game's windows: mutter draws each frame in a window of its
# helper's that carries the client's title, and Qt names a hidden 1 x 1 window after the program.
x_desktop_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        xprop -id "$id" WM_CLASS 2>/dev/null | grep -q '= "tonovka"' && echo "$id"
    done
    return 0
}
