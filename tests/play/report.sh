# shellcheck shell=bash
# Sourced by the scripts that play the game: the run's folder, and how a run reports.
#
#   $work               the run's folder, under $TMPDIR; removed at the end of a run that passed,
#                       unless TONOVKA_KEEP_RUN=1
#   say TEXT            a line of the run's log (steps.log), with the seconds since the start
#   fail TEXT           says what went wrong and ends the run
#   problem TEXT        says what went wrong; the run goes on and fails at its end, so that one
#                       run shows every fault it meets
#   poll SECONDS COMMAND...
#                       runs COMMAND every 50 ms until it succeeds; status 1 once the seconds are
#                       over (a bound that only catches a hang)
#   now_ms, seconds MS  the clock in milliseconds; milliseconds written as seconds
#   passed              ends the run: it fails if a problem was noted, and passes otherwise
# A script that defines run_ends is called with the run's status as the run ends, before the
# folder goes: to end its processes, or to keep more of what went wrong.

work=$(mktemp -d "${TMPDIR:-/tmp}/tonovka-play.XXXXXX") || exit 2
problems=()
run_passed=no

now_ms() { echo $(($(date +%s%N) / 1000000)); }
seconds() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }
run_started=$(now_ms)

say() {
    printf '[%7s] %s\n' "$(seconds $(($(now_ms) - run_started)))" "$*" | tee -a "$work/steps.log"
}
fail() {
    say "FAILED: $*"
    exit 1
}
problem() {
    say "WRONG: $*"
    problems+=("$*")
}

poll() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(now_ms)" -le "$deadline" ] || return 1
        sleep 0.05
    done
}

passed() {
    if [ ${#problems[@]} -gt 0 ]; then
        local list
        printf -v list '\n  - %s' "${problems[@]}"
        fail "the run went to its end, but ${#problems[@]} thing(s) were wrong:$list"
    fi
    run_passed=yes
    say "PASSED"
}

end_the_run() {
    local status=$?
    [ "$run_passed" = yes ] || status=1
    ! declare -F run_ends >/dev/null || run_ends "$status"
    if [ "$status" -eq 0 ] && [ "${TONOVKA_KEEP_RUN:-0}" != 1 ]; then
        rm -rf "$work"
    else
        echo "The run's screenshots, logs and sound are in $work"
    fi
    exit "$status"
}
trap end_the_run EXIT
trap 'fail "interrupted by SIGINT"' INT
trap 'fail "interrupted by SIGTERM"' TERM
