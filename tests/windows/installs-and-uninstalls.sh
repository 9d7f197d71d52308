#!/usr/bin/env bash
# Installs the Windows game silently into a fresh Wine prefix, as "setup.exe /S" does on Windows,
# and checks: every file of the zip in the installed folder, the Start-menu shortcut to the game,
# the entry in the list of installed apps, the game started through the shortcut (ended with its
# "Konec" button); then the silent uninstall, after which no file of the game and no registry key
# or value that names it remains.
#
# Usage: scripts/x-desktop WM -- installs-and-uninstalls.sh SETUP ZIP WINE_RUN WINDOW_PROBE HOUSE_LAYOUT
set -u -o pipefail
[ $# -eq 5 ] && [ -n "${DISPLAY:-}" ] || { echo "usage: scripts/x-desktop WM -- $0 SETUP ZIP WINE_RUN" \
    "WINDOW_PROBE HOUSE_LAYOUT" >&2; exit 2; }
setup=$(realpath "$1") zip=$(realpath "$2") WINE_RUN=$3 WINDOW_PROBE=$4 layout=$5
source "$(dirname "$(realpath "$0")")/wine-steps.sh"

wine() { "$WINE_RUN" "$@" 2>>"$work/wine.log" | tr -d '\r'; }
eval "$("$layout" 2>/dev/null)" || fail "$layout printed no layout"

folder="$WINEPREFIX/drive_c/Program Files/Tonovka"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tonovka.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tonovka'

wine "$setup" /S || fail "the silent install failed (wine.log)"
wineserver --wait
unzip -Z1 "$zip" | grep -v '/$' | cut -d/ -f2- | sort >"$work/zip-files"
(cd "$folder" 2>/dev/null && find . -type f -printf '%P\n' | sort) >"$work/installed-files"
say "installed: $(wc -l <"$work/installed-files") files in ${folder#"$WINEPREFIX/"}"
missing=$(comm -23 "$work/zip-files" "$work/installed-files")
[ -z "$missing" ] || problem "files of the zip not installed: $missing"
[ -f "$shortcut" ] || problem "no Start-menu shortcut"
grep -qaF 'C:\Program Files\Tonovka\tonovka.exe' "$shortcut" || problem "the shortcut does not lead to the game"
entry=$(wine reg query "$key" /reg:64)
say "uninstall entry: $(echo "$entry" | grep -E 'DisplayName|UninstallString' | tr -s ' ' | tr '\n' ';')"
echo "$entry" | grep -q 'DisplayName.*Tonovka' && echo "$entry" | grep -q 'QuietUninstallString.*/S' ||
    problem "the list of installed apps has no entry for the game"

# The game, started through its shortcut, as the Start menu starts it.
wine start /unix "$shortcut" || problem "the shortcut does not start"
shown() { windows geometry Form1 >/dev/null; }
if poll 60 shown; then
    read -r _ _ _ _ x y _ _ < <(windows geometry Form1)
    xdotool mousemove $((x + welcome_endBUTT[0] + welcome_endBUTT[2] / 2)) \
        $((y + welcome_endBUTT[1] + welcome_endBUTT[3] / 2)) click 1
    poll 20 eval '! shown' || problem "'Konec' did not end the installed game"
    say "the installed game started through its shortcut, and 'Konec' ended it"
else
    problem "the installed game did not show its welcome screen"
fi
wineserver --wait

# The silent uninstall leaves nothing of the game.
wine "C:\\Program Files\\Tonovka\\uninstall.exe" /S || problem "the silent uninstall failed"
wineserver --wait
left=$(find "$WINEPREFIX/drive_c" -iname '*tonovka*' 2>/dev/null)
[ -z "$left" ] || problem "files left after the uninstall: $left"
[ ! -e "$folder" ] || problem "the game's folder is left after the uninstall"
keys=$(grep -il tonovka "$WINEPREFIX"/*.reg)
[ -z "$keys" ] || problem "registry entries naming the game left after the uninstall: $(grep -i tonovka "$WINEPREFIX"/*.reg)"
[ "$problems" -eq 0 ] || fail "$problems checks went wrong"
say "PASSED"
