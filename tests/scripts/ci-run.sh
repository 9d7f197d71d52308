#!/usr/bin/env bash
# What .ci/run promises of the job that makes the page's dependencies ready ahead, run with
# stand-ins for the scripts it calls: the run's status is the roots' alone, the job's log is shown
# and removed, whether the job or a root fails.
# shellcheck disable=SC2016 # the stand-ins' words are expanded by the stand-ins
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
problems=0
wrong() { echo "WRONG: $*"; problems=$((problems + 1)); }

mkdir -p "$work/clone/.ci" "$work/clone/scripts" "$work/tmp"
cp "$here/../../.ci/run" "$work/clone/.ci/run"
stand_in() { printf '#!/bin/sh\n%s\n' "$2" >"$work/clone/scripts/$1" && chmod +x "$work/clone/scripts/$1"; }
stand_in install-packages 'exit 0'
stand_in web-build 'echo "web-build $*: the log of the job ahead"; exit "$AHEAD_STATUS"'
stand_in fresh-root 'echo "fresh-root $1"; [ "$1" != bookworm ] || exit "$BOOKWORM_STATUS"'

# The job's status, the Debian 12 root's, and what the run must then end with.
while read -r ahead bookworm expected; do
    out=$(AHEAD_STATUS=$ahead BOOKWORM_STATUS=$bookworm TMPDIR=$work/tmp "$work/clone/.ci/run" 2>&1)
    status=$?
    case="with the job ahead ending $ahead and the Debian 12 root $bookworm"
    [ "$status" -eq "$expected" ] || wrong "the run ended $status, not $expected, $case"
    grep -q 'the log of the job ahead' <<<"$out" || wrong "the run did not show the job's log $case"
    [ -z "$(ls -A "$work/tmp")" ] || wrong "the run left the job's log behind $case"
    rm -rf "${work:?}/tmp/"*
done <<'EOF'
4 0 0
0 3 3
EOF

[ "$problems" -eq 0 ] && echo "PASSED"
