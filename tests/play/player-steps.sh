# shellcheck shell=bash disable=SC2154 # the marks' variables are named by mark's argument
# Sourced by the scripts that play the game on one system or another (tests/e2e on X desktops,
# tests/windows under Wine): one player's steps through a whole game, and what a player sees and
# hears on the way: the welcome screen with its siren, "Vstoupit", Ctrl+N, people in the windows
# and a click that rescues one, the time running out, the water and "Gejm Ouvr" above the main
# window, the music silent after the flood, and "OK" ending the game with status 0.
# Needs tests/play/report.sh sourced first; sources house-layout.sh, where the controls lie,
# heard.sh, what the captured sound says, and watching.sh, how the steps look at the game.
#
# What each system's script gives, as shell functions. Every place is in the coordinates of a
# screenshot; no step knows a system's windows by anything but their titles.
#   game_start          starts the game, its sound captured from its first sample
#   game_window TITLE   prints "X Y WIDTH HEIGHT", the client area of the game's visible window of
#                       that title; status 1 while none shows
#   game_shot FILE      a picture of the whole screen, as PNG
#   game_click X Y      a click of the left button
#   game_key KEYS       a key combination, written as "ctrl+n"
#   game_sound_bytes    prints how many bytes of sound are captured so far
#   game_sound FILE     writes the sound captured so far to FILE: signed 16-bit samples in this
#                       machine's byte order, two channels, SOUND_RATE (44100) frames a second
#   game_ended          succeeds once the game has ended, and then sets game_status to its status;
#                       asked whenever a step waits, in the steps' own shell, so it answers at once
#   game_new_game       (optional) starts a game as a player of that system does without a
#                       keyboard; where it is not given, Ctrl+N
#   MUSIC_CAPTURED      yes where the capture holds the tune, not only the siren
#   MENU_BAR_SLACK      how many rows the system's menu bar may be taller or shorter than the
#                       layout's, which moves the house below it (0 where it is the layout's)
# and, where it checks more, hooks that the steps call when they are reached:
#   on_welcome          the welcome screen shows and its siren has sounded for 1.5 s
#   on_main             "Vstoupit" brought the main window; the steps take its place afterwards
#   on_game_over        "Gejm Ouvr" shows above the flooded house
# The hooks may read welcome_at, main_at and konec_at ("X Y W H" of each screen's client area),
# house_at (the main window's client area where the house lies as the layout counts it), the
# layout (house-layout.sh) and the screenshots in $work.
#
#   read_the_house HOUSE_LAYOUT [NAME...]   reads the layout that the steps and the script need
#   play_a_whole_game E2EPROBE              plays, checks, and fails the run where it cannot go on;
#                                           the script then ends the run with passed (report.sh)

# shellcheck source=SCRIPTDIR/house-layout.sh
source "$(dirname "${BASH_SOURCE[0]}")/house-layout.sh"
# shellcheck source=SCRIPTDIR/heard.sh
source "$(dirname "${BASH_SOURCE[0]}")/heard.sh"

readonly SOUND_RATE=44100
readonly BYTES_PER_SECOND=$((SOUND_RATE * 2 * 2))
readonly EMPTY_FRAME=(192 192 192) WHITE=(255 255 255) WATER=(192 255 255)
welcome_at='' main_at='' konec_at='' house_at=''

read_the_house() {
    read_layout "$1" welcome welcome_enterBUTT okno1 okno2 okno6 scorecountLBL timecountLBL voda \
        Konec_Command1 "${@:2}" || fail "no layout of the house from $1"
}

# shellcheck source=SCRIPTDIR/watching.sh
source "$(dirname "${BASH_SOURCE[0]}")/watching.sh"

welcome_step() {
    game_start
    mark start
    poll 60 find_screen welcome_at Form1 || fail "the welcome screen 'Form1' never showed"
    mark welcome
    poll 5 rests welcome_at Form1 || problem "the welcome screen kept moving"
    say "the welcome screen: client ${welcome_at// /,}"
    [ "${welcome_at#* * }" = "${layout[welcome]#0 0 }" ] ||
        problem "the welcome screen's client area is not ${layout[welcome]#0 0 }"
    poll 5 mostly_white || problem "the welcome screen is not mostly white (shot-welcome.png)"
    poll 20 sound_reaches $((BYTES_PER_SECOND * 3 / 2)) || fail "no sound was captured (program.log)"
    hook on_welcome
}

enter_step() {
    mark enter
    # shellcheck disable=SC2046 # "X Y"
    game_click $(centre welcome_enterBUTT "$welcome_at")
    poll 20 find_screen main_at Tonovka || fail "the main window 'Tonovka' never showed after 'Vstoupit'"
    mark main
    poll 5 screen_gone Form1 || fail "the welcome screen stayed on the screen after 'Vstoupit'"
    hook on_main
    poll 5 rests main_at Tonovka || fail "the main window did not come to rest"
    say "the main window: client ${main_at// /,}"
    shot shot-house-empty.png
    local x y w h shift wrong
    read -r x y w h <<<"$main_at"
    for shift in $(seq "-${MENU_BAR_SLACK:-0}" "${MENU_BAR_SLACK:-0}"); do
        house_at="$x $((y + shift)) $w $h"
        wrong=$(not_empty)
        [ -n "$wrong" ] || break
    done
    [ -z "$wrong" ] || fail "window $wrong is not an empty pane before the game (shot-house-empty.png)"
    say "all fifteen windows are empty panes before the game, $shift rows below where the layout puts them"
}
# The first of the house's windows that is not an empty pane in shot-house-empty.png.
not_empty() {
    local n pane _ w h
    for n in $(seq 15); do
        pane=$(place "okno$n" "$house_at")
        read -r _ _ w h <<<"$pane"
        [ $(($(count shot-house-empty.png "$pane" "${WHITE[@]}") + $(count shot-house-empty.png "$pane" "${EMPTY_FRAME[@]}"))) -eq $((w * h)) ] ||
            { echo "$n at ${pane// /,}"; return; }
    done
}

occupied=''
find_people() {
    shot shot-people.png
    local changed n=0
    occupied=''
    # shellcheck disable=SC2046 # the grid's numbers
    for changed in $(probe cells "$work/shot-house-empty.png" "$work/shot-people.png" $(house_grid "$house_at")); do
        n=$((n + 1))
        [ "$changed" -le 100 ] || occupied="$occupied $n"
    done
    [ -n "$occupied" ]
}
score_changed() {
    shot shot-rescued.png
    [ "$(score_differs shot-people.png shot-rescued.png)" -gt 0 ]
}

rescue_step() {
    if declare -F game_new_game >/dev/null; then game_new_game; else game_key ctrl+n; fi
    mark newgame
    sleep 0.8
    poll 10 find_people || fail "nobody appeared in the windows after Ctrl+N (shot-people.png)"
    say "people seen $(since "$time_newgame") s after Ctrl+N in windows:$occupied"
    [ "$(score_differs shot-house-empty.png shot-people.png)" -eq 0 ] ||
        fail "the score changed with no rescue (shot-house-empty.png, shot-people.png)"
    local rescued
    read -r rescued _ <<<"$occupied"
    # shellcheck disable=SC2046 # "X Y"
    game_click $(centre "okno$rescued" "$house_at")
    mark rescue
    poll 5 score_changed || fail "the score did not change after a click on window $rescued (shot-people.png, shot-rescued.png)"
    say "a click on window $rescued changed the score $(since "$time_rescue") s later"
}

# The water from the layout's line down, over every window that "Gejm Ouvr" leaves in view.
flooded=''
water_everywhere() {
    shot shot-gameover.png
    local n pane x top _ w h
    read -r x top _ < <(place voda "$house_at")
    [ "$(count shot-gameover.png "$((x + 2)) $top 1 1" "${WATER[@]}")" -eq 1 ] || return 1
    [ "$(count shot-gameover.png "$((x + 2)) $((top - 1)) 1 1" "${WATER[@]}")" -eq 0 ] || return 1
    flooded=''
    for n in $(seq 15); do
        pane=$(place "okno$n" "$house_at")
        read -r _ _ w h <<<"$pane"
        apart "$pane" "$konec_at" || continue
        [ "$(count shot-gameover.png "$pane" "${WATER[@]}")" -eq $((w * h)) ] || return 1
        flooded="$flooded $n"
    done
    [ "$(wc -w <<<"$flooded")" -ge 3 ]
}
# "Gejm Ouvr" lies over the flooded part of the main window: drawn above it, it lets none of the
# water through.
drawn_above() {
    shot shot-above.png
    [ "$(count shot-above.png "$konec_at" "${WATER[@]}")" -eq 0 ]
}

flood_step() {
    poll 90 find_screen konec_at "Gejm Ouvr" || fail "'Gejm Ouvr' never showed (the time runs out about 21 s after Ctrl+N)"
    mark gameover
    say "'Gejm Ouvr' showed $(since "$time_newgame") s after Ctrl+N"
    poll 5 rests konec_at "Gejm Ouvr" || problem "'Gejm Ouvr' kept moving"
    say "'Gejm Ouvr': client ${konec_at// /,}"
    lies_within "$konec_at" "$main_at" || problem "'Gejm Ouvr' does not lie over the main window"
    poll 5 water_everywhere || fail "the water does not cover the house from its line down (shot-gameover.png)"
    say "windows seen under water:$flooded"
    poll 5 drawn_above || problem "the water shows through 'Gejm Ouvr' (shot-above.png)"
    hook on_game_over
    # Two seconds of sound after the flood, to hear that the music has stopped.
    poll 15 sound_reaches $((bytes_gameover + 2 * BYTES_PER_SECOND)) || fail "no more sound was captured after the flood"
}

ok_step() {
    mark ok
    # shellcheck disable=SC2046 # "X Y"
    game_click $(centre Konec_Command1 "$konec_at")
    poll 10 game_ended || fail "the game still runs 10 s after 'OK'"
    say "the game ended $(since "$time_ok") s after 'OK', with status $game_status"
    [ "$game_status" -eq 0 ] || fail "the game ended with status $game_status (program.log)"
}

play_a_whole_game() {
    e2eprobe=$1
    welcome_step
    enter_step
    rescue_step
    flood_step
    ok_step
    sound_step "${MUSIC_CAPTURED:-no}"
}
