# shellcheck shell=bash disable=SC2154 # game_status, work and the screens' places come from player-steps.sh
# Sourced by player-steps.sh: how the player's steps watch the game, through the primitives that
# each system's script gives (game_window, game_shot, game_sound_bytes, game_ended): marks of when
# each step happened, screens found and waited for until they rest, pixels counted in screenshots
# (with tests/e2e/e2eprobe), and the score told apart from the time beside it.

# Remembers when a step happened and how much sound was captured by then: time_NAME, bytes_NAME.
mark() {
    local bytes
    bytes=$(game_sound_bytes)
    printf -v "time_$1" '%s' "$(now_ms)"
    printf -v "bytes_$1" '%s' "$bytes"
    echo "$1 $(date +%s.%N) $bytes" >>"$work/marks"
    say "step '$1': $bytes bytes of sound captured ($(seconds $((bytes * 1000 / BYTES_PER_SECOND))) s)"
}
since() { seconds $(($(now_ms) - $1)); }
# Fails the run where the game has ended while a step waits for it to show or sound something.
running() { ! game_ended || fail "the game ended, with status $game_status, while $1 was awaited (program.log)"; }
sound_reaches() {
    running "byte $1 of its sound"
    [ "$(game_sound_bytes)" -ge "$1" ]
}
hook() { ! declare -F "$1" >/dev/null || "$1"; }
shot() { game_shot "$work/$1" || fail "cannot take the screenshot $1"; }
# find_screen VARIABLE TITLE: the client area of the screen of that title, while it shows.
find_screen() {
    local -n area=$1
    running "'$2'"
    area=$(game_window "$2") && [ -n "$area" ]
}
# rests VARIABLE TITLE: find_screen, once the screen has stayed put for half a second (a window
# manager may move it once or twice as it comes).
rests() {
    local -n place=$1
    local before
    find_screen "$1" "$2" || return 1
    before=$place
    sleep 0.5
    find_screen "$1" "$2" && [ "$place" = "$before" ]
}
screen_gone() { ! game_window "$1" >/dev/null; }
probe() { "$e2eprobe" "$@"; }
# count SHOT AREA COLOUR...: how many pixels of the area have that colour.
count() {
    local shot=$1 area=$2
    shift 2
    # shellcheck disable=SC2086 # the area's four numbers
    probe count "$work/$shot" $area "$@"
}
# The top of the score label, above the time label, which changes on its own.
score() {
    local x y w time_y
    read -r x y w _ < <(place scorecountLBL "$house_at")
    read -r _ time_y _ < <(place timecountLBL "$house_at")
    echo "$x $y $w $((time_y - y))"
}
score_differs() {
    # shellcheck disable=SC2046 # the area's four numbers
    probe differ "$work/$1" "$work/$2" $(score)
}

mostly_white() {
    shot shot-welcome.png
    local _ w h
    read -r _ _ w h <<<"$welcome_at"
    [ "$(count shot-welcome.png "$welcome_at" "${WHITE[@]}")" -gt $((w * h / 2)) ]
}
