# Sourced by the scripts that play the Windows game under Wine: a folder and a Wine prefix of the
# run's own, and the way they report. The prefix is the run's own because Wine's desktop process
# keeps to the X display it first met. Needs WINE_RUN and WINDOW_PROBE set.
#
#   $work            the run's folder, removed at the end unless a check went wrong
#   pids             processes to end with the run
#   say TEXT         a line of the log, with the time
#   fail TEXT        says what went wrong and ends the run
#   problem TEXT     says what went wrong; the run goes on and fails at its end
#   poll SECONDS COMMAND...   runs COMMAND every tenth of a second until it succeeds, or fails
#   windows ARGS...  what Windows says of the game's windows (window-probe.exe)

work=$(mktemp -d "${TMPDIR:-/tmp}/tonovka-wine.XXXXXX")
export WINEPREFIX=$work/prefix
pids=() problems=0
finish() {
    local status=$?
    [ "$status" -eq 0 ] && [ "$problems" -eq 0 ] || import -silent -window root "png:$work/at-the-end.png"
    [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null
    wineserver -k 2>/dev/null
    if [ "$status" -eq 0 ] && [ "$problems" -eq 0 ]; then rm -rf "$work"; else echo "The run is in $work"; fi
}
trap finish EXIT
say() { echo "[$(date +%T.%N | cut -c1-12)] $*"; }
fail() { say "FAILED: $*"; exit 1; }
problem() { say "WRONG: $*"; problems=$((problems + 1)); }
poll() {
    local tries=$(($1 * 10))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}
windows() { "$WINE_RUN" "$WINDOW_PROBE" "$@" 2>/dev/null | tr -d '\r'; }
