# shellcheck shell=bash
# Sourced by the scripts that play the Windows game under Wine: what tests/play/report.sh gives,
# and a Wine prefix of the run's own, where the game runs as on a player's machine. The prefix is
# the run's own because Wine's desktop process keeps to the X display it first met. Needs
# WINE_RUN and WINDOW_PROBE set.
#
#   wine_run PROGRAM [ARG...]   runs a Windows program there, with nothing of the build on Wine's
#                               search path, so that a DLL the game lacks is found nowhere
#   windows ARGS...             what Windows says of the game's windows (window-probe.exe)
#   pids                        processes to end with the run

# shellcheck source=../play/report.sh
source "$(dirname "${BASH_SOURCE[0]}")/../play/report.sh"
export WINEPREFIX=$work/prefix
pids=()
wine_run() { "$WINE_RUN" --no-build-dlls "$@"; }
windows() { wine_run "$WINDOW_PROBE" "$@" 2>/dev/null | tr -d '\r'; }
run_ends() {
    if [ "$1" -ne 0 ]; then
        import -silent -window root "png:$work/at-the-end.png"
        [ ! -s "$work/program.log" ] || { echo "The game's last words (program.log):"; tail -n 15 "$work/program.log"; }
    fi
    [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null
    wineserver -k 2>/dev/null
}
