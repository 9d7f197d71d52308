# shellcheck shell=bash disable=SC2154 # work, layout and the rest come from the script that sources this
# Sourced by plays-from-the-zip.sh: the game started from a copy of its folder that lacks one DLL,
# as a player's machine runs it, where nothing else holds the DLL.
#   fails_without_qt    without Qt6Widgets.dll the game does not start, and Wine names the DLL
#   silent_without_sdl  without SDL2.dll the game shows, says that it stays silent, and ends
#                       with its "Konec"
# Needs program, the game unpacked from the zip, and the steps' game_start DIFFERENT_PROGRAM.

# A copy of the game's folder that lacks one DLL: the program in it.
without() {
    local copy=$work/without-${1%.dll}
    cp -r "$(dirname "$program")" "$copy" && rm -f "$copy/$1" && echo "$copy/tonovka.exe"
}

started_or_ended() { game_ended || game_window Form1 >/dev/null; }
fails_without_qt() {
    local copy
    copy=$(without Qt6Widgets.dll) || fail "cannot copy the game's folder"
    game_start "$copy"
    { poll 60 started_or_ended && [ -z "$game_pid" ]; } ||
        fail "the game without Qt6Widgets.dll in its folder started: it found the DLL elsewhere"
    mv "$work/program.log" "$work/without-Qt6Widgets.log"
    [ "$game_status" -ne 0 ] || problem "the game without Qt6Widgets.dll ended with status 0"
    grep -q 'Library Qt6Widgets.dll .*not found' "$work/without-Qt6Widgets.log" || problem "Wine named no missing Qt6Widgets.dll"
    say "without Qt6Widgets.dll the game did not start (status $game_status): $(grep -m1 -o 'Library Qt6Widgets.dll .*' "$work/without-Qt6Widgets.log")"
}

silent_without_sdl() {
    local copy
    copy=$(without SDL2.dll) || fail "cannot copy the game's folder"
    game_start "$copy"
    poll 60 find_screen welcome_at Form1 || fail "the game without SDL2.dll showed no welcome screen"
    # The game says whether it loaded its audio libraries.
    poll 20 grep -qE 'audio libraries (loaded|cannot be loaded)' "$work/program.log" ||
        fail "the game without SDL2.dll said nothing of its audio libraries (program.log)"
    { grep -q 'no sound: the audio libraries cannot be loaded' "$work/program.log" && [ "$(game_sound_bytes)" -eq 0 ]; } ||
        problem "the game without SDL2.dll in its folder played sound: it found the DLL elsewhere"
    say "without SDL2.dll: $(grep -m1 -oE 'no sound:.*|audio libraries loaded.*' "$work/program.log")"
    # shellcheck disable=SC2046 # "X Y"
    game_click $(centre welcome_endBUTT "$welcome_at")
    poll 20 game_ended || fail "'Konec' did not end the game without SDL2.dll"
    mv "$work/program.log" "$work/without-SDL2.log"
}
