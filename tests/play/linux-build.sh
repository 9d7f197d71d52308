# shellcheck shell=bash disable=SC2154 # work, layout and pids come from the script that sources this
# Sourced by the scripts that compare another system's game with the Linux build on the same X
# desktop (tests/windows/against-linux.sh, tests/web/linux-reference.sh).
#
#   linux_build_shows LINUX_TONOVKA DATA_FOLDER FIND_WINDOW BYTES
#       starts the Linux build in $work/linux with the game's sounds, its sound through SDL's disk
#       driver into $work/linux.raw, and waits for its welcome screen (FIND_WINDOW Form1 prints
#       its X window) and BYTES of its siren; the process is the last of pids
#   linux_sound_reaches BYTES
#       succeeds once the Linux build has written that many bytes of sound
#   mask_controls ARRAY CONTROL...
#       adds to ARRAY ImageMagick's arguments that paint the controls black where the layout puts
#       them in a client area: the buttons, which each system's style draws its own way

linux_sound_reaches() { [ "$(stat -c %s "$work/linux.raw" 2>/dev/null || echo 0)" -ge "$1" ]; }

linux_build_shows() {
    mkdir -p "$work/linux" && cp "$2/siren.wav" "$2/rytmozan.mid" "$work/linux/"
    (cd "$work/linux" && exec env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/linux.raw" "$1") >/dev/null 2>&1 &
    pids+=($!)
    poll 30 "$3" Form1 >/dev/null || fail "the Linux build's welcome screen never showed"
    poll 20 linux_sound_reaches "$4" || fail "the Linux build wrote no siren"
}

mask_controls() {
    local -n into=$1
    local control x y w h
    into+=(-fill black)
    for control in "${@:2}"; do
        read -r x y w h <<<"${layout[$control]}"
        into+=(-draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))")
    done
}
