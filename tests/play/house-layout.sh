# shellcheck shell=bash
# Sourced by the scripts that click and read the game's screens: where their controls lie, as
# tools/houselayout prints it, taken in as data and never run as shell. An area is "X Y W H".
#
#   read_layout HOUSE_LAYOUT NAME...
#       runs the house-layout program and keeps each of its lines, NAME=(X Y W H) or NAME=N, in
#       the associative array layout: layout[okno1]="X Y W H". Status 1, with the reason on
#       stderr, when the program fails, prints a line of another form, or names no NAME asked for.
#   place NAME AREA     the area of control NAME on the screen, where AREA is the client area of
#                       its screen
#   centre NAME AREA    "X Y" of the control's middle
#   house_grid AREA     the main window's fifteen windows as e2eprobe's grid: the first window's
#                       area, the distances between the windows, 5 columns and 3 rows
#   lies_within AREA OTHER   succeeds where AREA lies inside OTHER
#   apart AREA OTHER         succeeds where the two areas share no pixel

declare -gA layout=()

read_layout() {
    local tool=$1 text line name
    shift
    text=$("$tool" 2>/dev/null) || { echo "$tool failed" >&2; return 1; }
    local -r form='^([A-Za-z_][A-Za-z0-9_]*)=(-?[0-9]+|\((-?[0-9]+( -?[0-9]+)*)\))$'
    while IFS= read -r line; do
        [[ $line =~ $form ]] || { echo "$tool printed a line that is no place: '$line'" >&2; return 1; }
        layout[${BASH_REMATCH[1]}]=${BASH_REMATCH[3]:-${BASH_REMATCH[2]}}
    done <<<"$text"
    for name; do
        [ -n "${layout[$name]:-}" ] || { echo "$tool names no $name" >&2; return 1; }
    done
}

place() {
    local x y w h screen_x screen_y
    read -r x y w h <<<"${layout[$1]}"
    read -r screen_x screen_y _ <<<"$2"
    echo "$((screen_x + x)) $((screen_y + y)) $w $h"
}

centre() {
    local x y w h
    read -r x y w h < <(place "$@")
    echo "$((x + w / 2)) $((y + h / 2))"
}

house_grid() {
    local x y w h right below
    read -r x y w h < <(place okno1 "$1")
    read -r right _ < <(place okno2 "$1")
    read -r _ below _ < <(place okno6 "$1")
    echo "$x $y $w $h $((right - x)) $((below - y)) 5 3"
}

lies_within() {
    local x y w h outer_x outer_y outer_w outer_h
    read -r x y w h <<<"$1"
    read -r outer_x outer_y outer_w outer_h <<<"$2"
    ((x >= outer_x && y >= outer_y && x + w <= outer_x + outer_w && y + h <= outer_y + outer_h))
}

apart() {
    local x y w h other_x other_y other_w other_h
    read -r x y w h <<<"$1"
    read -r other_x other_y other_w other_h <<<"$2"
    ((x + w <= other_x || other_x + other_w <= x || y + h <= other_y || other_y + other_h <= y))
}
