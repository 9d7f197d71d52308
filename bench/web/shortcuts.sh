#!/usr/bin/env bash
# shortcuts.sh: which of the game's keys reach the page in a real browser with its windows, on an
# X desktop (scripts/x-desktop openbox -- bench/web/shortcuts.sh ...): the browser opens the page
# at 1024 x 768, "Vstoupit" is clicked at X Y, then Ctrl+N, Alt+H, Escape, Alt+P and Ctrl+Q are
# pressed as a keyboard presses them. It prints how many browser windows there are after Ctrl+N
# and Ctrl+Q, and leaves a picture of the screen after each key in OUT-*.png, to see what the
# game did (a new game, its menu, pause, the page's word that the game has ended).
#
#   shortcuts.sh chromium|firefox-esr URL X Y OUT
set -u
[ $# -eq 5 ] || { echo "usage: $0 chromium|firefox-esr URL X Y OUT" >&2; exit 2; }
browser=$1 url=$2 x=$3 y=$4 out=$5
profile=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$profile"' EXIT
if [ "$browser" = chromium ]; then
    chromium --no-sandbox --user-data-dir="$profile" --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --window-position=0,0 --window-size=1024,768 "$url" >/dev/null 2>&1 &
    class=chromium
else
    firefox-esr --new-instance --profile "$profile" --width 1024 --height 768 "$url" >/dev/null 2>&1 &
    class=firefox
fi
pid=$!
windows() { xdotool search --onlyvisible --class "$class" 2>/dev/null | wc -l; }
shot() { sleep 2; import -window root "$out-$1.png"; }
sleep 15
xdotool mousemove "$x" "$y" click 1 && shot 1-vstoupit
xdotool key ctrl+n && shot 2-ctrl-n
echo "$browser: $(windows) window(s) after Ctrl+N"
xdotool search --onlyvisible --class "$class" | tail -n +2 | while read -r id; do xdotool windowclose "$id"; done
xdotool mousemove 500 500 click 1
xdotool key alt+h && shot 3-alt-h
xdotool key Escape alt+p && shot 4-alt-p
xdotool key ctrl+q && shot 5-ctrl-q
echo "$browser: $(windows) window(s) after Ctrl+Q"
