# shellcheck shell=bash disable=SC2034 # the steps and the scripts read what these set
# Sourced by the play scripts that run the game as a process of this machine on an X desktop (the
# Linux program, or the Windows game under Wine): the primitives of player-steps.sh that they
# share. The game's sound goes through SDL's disk driver into $work/out.raw.
#
#   disk_sound          the environment that sends the game's sound there
#   game_pid            the game's process: the script's game_start sets it
#   stop_game           ends the game, if it still runs

disk_sound=(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw")
game_pid=''

# The server handles the move before the click; "mousemove --sync" would wait for ever when the
# pointer already stands on the spot.
game_click() { xdotool mousemove "$1" "$2" click 1; }
game_key() { xdotool key --clearmodifiers "$1"; }
game_sound_bytes() { stat -c %s "$work/out.raw" 2>/dev/null || echo 0; }
game_sound() { cp "$work/out.raw" "$1"; }
game_ended() {
    [ -n "$game_pid" ] && ! kill -0 "$game_pid" 2>/dev/null || return 1
    wait "$game_pid"
    game_status=$? game_pid=''
}

stop_game() {
    [ -n "$game_pid" ] || return 0
    kill "$game_pid" 2>/dev/null
    poll 5 game_ended || kill -9 "$game_pid" 2>/dev/null
}
