#!/usr/bin/env bash
# hostile.sh: the game in surroundings that a player's machine may have. In each, the welcome
# screen must be mapped, "Vstoupit" must bring up the main window, Ctrl+N must start the game
# (people appear in the house), a round of clicks on the house must change the score, and
# Ctrl+Q must end the program with status 0.
#
#   hostile.sh GAME DATA_DIR no-window-manager|no-audio-device|no-comic-font
#
#   no-window-manager  an X server alone: no frames, no activation, focus set by hand
#   no-audio-device    SDL_AUDIODRIVER=nosuchdriver, so that SDL's audio cannot start
#   no-comic-font      a fontconfig setup (FONTCONFIG_FILE) that rejects the Comic Neue files,
#                      so that "Comic Sans MS" falls back to another font
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game=$1
data=$2
scenario=$3
source "$here/xgame.sh"
xg_init
export XDG_RUNTIME_DIR=$XG_WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export SDL_AUDIODRIVER=dummy
export QT_LOGGING_RULES="tonovka.sound.debug=true"

fail() { echo "FAIL ($scenario): $*"; echo "--- the program's output:"; tail -n 20 "$XG_WORK/game.log" 2>/dev/null; exit 1; }

case "$scenario" in
no-window-manager) xg_start_display none ;;
no-audio-device)
    xg_start_display wm
    export SDL_AUDIODRIVER=nosuchdriver
    ;;
no-comic-font)
    xg_start_display wm
    comic=$(fc-match -f '%{file}' "Comic Sans MS")
    case "$comic" in
    *omic*) ;;
    *) fail "\"Comic Sans MS\" is not Comic Neue even before hiding it ($comic): is fonts-comic-neue installed?" ;;
    esac
    cat >"$XG_WORK/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont>
    <rejectfont><glob>$(dirname "$comic")/*</glob></rejectfont>
  </selectfont>
</fontconfig>
CONF
    export FONTCONFIG_FILE=$XG_WORK/fonts.conf
    now=$(fc-match -f '%{family} (%{file})' "Comic Sans MS")
    case "$now" in
    *omic*) fail "the fontconfig setup does not hide Comic Neue: $now" ;;
    esac
    echo "\"Comic Sans MS\" now resolves to $now"
    ;;
*) echo "unknown scenario $scenario" >&2; exit 2 ;;
esac

xg_prepare_game "$game" "$data"
xg_start_game
xg_wait_window Form1 20 || fail "the welcome screen was not mapped"
echo "welcome screen mapped"
sleep 0.3
xg_enter || fail "\"Vstoupit\" did not bring up the main window"
echo "main window mapped after \"Vstoupit\""
sleep 0.5
house=$(xg_house)
xg_key ctrl+n || fail "cannot give the main window the keyboard"
changed=no
for _ in $(seq 30); do
    sleep 0.2
    [ "$(xg_house)" != "$house" ] && { changed=yes; break; }
done
[ "$changed" = yes ] || fail "Ctrl+N did not start the game: nobody appeared in the house within 6 s"
echo "Ctrl+N started the game: people appear in the house"
sleep 1.5
score=$(xg_score)
for n in $(seq 15); do xg_click_house "$n"; sleep 0.05; done
sleep 0.3
[ "$(xg_score)" != "$score" ] || fail "a round of clicks on the house did not change the score"
echo "clicks on the house change the score"
if [ "$scenario" = no-audio-device ]; then
    grep -q 'no sound' "$XG_WORK/game.log" || fail "the program did not report that it had no sound"
    echo "the program went on without sound: $(grep -m1 'no sound' "$XG_WORK/game.log" | cut -c1-120)"
fi
xg_key ctrl+q || fail "cannot give the main window the keyboard for Ctrl+Q"
xg_wait_exit 5 || fail "Ctrl+Q did not end the program within 5 s"
[ "$XG_STATUS" = 0 ] || fail "the program ended with status $XG_STATUS"
echo "Ctrl+Q ended the program with status 0"
echo "ok: $scenario"
