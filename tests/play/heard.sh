# shellcheck shell=bash disable=SC2154 # the marks and the rest come from player-steps.sh
# Sourced by player-steps.sh: what the player heard, judged from the captured sound once the game
# has ended, between the steps' marks (bytes_NAME).
#   sound_step MUSIC    the siren on the welcome screen, the music during the game (where MUSIC
#                       is yes: the system's capture holds it), silence from half a second after
#                       the flood
#   level FROM TO       e2eprobe's levels of heard.raw from byte FROM to TO
#   value NAME LEVELS   one of those levels, as "peak", "rms" or "quietest"

level() { probe level "$work/heard.raw" "$1" "$2"; }
value() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2"; }
at_least() { awk -v value="$1" -v least="$2" 'BEGIN { exit !(value + 0 >= least + 0) }'; }
sound_step() {
    game_sound "$work/heard.raw" || fail "cannot read the captured sound"
    local siren music after from
    siren=$(level 0 "$bytes_enter") || fail "cannot measure the siren"
    say "the siren, from the start to 'Vstoupit': $siren"
    at_least "$(value rms "$siren")" 1000 || fail "the siren was not heard on the welcome screen"
    # The siren lasts three seconds from the start of the sound; after four only the music plays,
    # which starts as the main window shows.
    from=$((bytes_main + BYTES_PER_SECOND / 2))
    from=$((from > 4 * BYTES_PER_SECOND ? from : 4 * BYTES_PER_SECOND))
    if [ "$1" = yes ]; then
        music=$(level "$from" "$bytes_gameover") || fail "cannot measure the music"
        say "the music alone, from byte $from to game over: $music"
        at_least "$(value rms "$music")" 1000 || fail "the music was not heard during the game"
        at_least "$(value quietest "$music")" 100 || fail "the music fell silent for half a second during the game"
    fi
    after=$(level $((bytes_gameover + BYTES_PER_SECOND / 2)) "$bytes_ok") || fail "cannot measure the sound after the flood"
    say "after the flood, half a second after 'Gejm Ouvr' to 'OK': $after"
    [ "$(value peak "$after")" -le 64 ] || fail "sound went on after the flood"
}
