#!/usr/bin/env bash
# Installs the Windows game silently into a fresh Wine prefix, as "setup.exe /S" does on Windows,
# and checks: every file of the zip in the installed folder, the Start-menu shortcut to the game,
# the entry in the list of installed apps, the game started through the shortcut (ended with its
# "Konec" button); then the silent uninstall, after which no file of the game and no registry key
# or value that names it remains.
#
# Usage: scripts/x-desktop WM -- installs-and-uninstalls.sh SETUP ZIP WINE_RUN WINDOW_PROBE HOUSE_LAYOUT
set -u -o pipefail
if [ $# -ne 5 ] || [ -z "${DISPLAY:-}" ]; then
    echo "usage: scripts/x-desktop WM -- $0 SETUP ZIP WINE_RUN WINDOW_PROBE HOUSE_LAYOUT" >&2
    exit 2
fi
setup=$(realpath "$1") zip=$(realpath "$2") WINE_RUN=$3 WINDOW_PROBE=$4
here=$(dirname "$(realpath "$0")")
source "$here/wine-steps.sh"
source "$here/../play/house-layout.sh"
read_layout "$5" welcome_endBUTT || fail "no layout of the welcome screen from $5"

wine() { wine_run "$@" 2>>"$work/wine.log" | tr -d '\r'; }

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
grep -q 'DisplayName.*Tonovka' <<<"$entry" || problem "the list of installed apps has no entry for the game"
grep -q 'QuietUninstallString.*/S' <<<"$entry" || problem "the game's entry in the list of installed apps has no silent uninstall"

# The game, started through its shortcut, as the Start menu starts it; Wine names a DLL it lacks.
WINEDEBUG=-all,err+module wine start /unix "$shortcut" || problem "the shortcut does not start"
shown() { windows geometry Form1 >/dev/null; }
if poll 60 shown; then
    # shellcheck disable=SC2046 # "X Y"
    xdotool mousemove $(centre welcome_endBUTT "$(windows geometry Form1 | cut -d' ' -f5-)") click 1
    poll 20 eval '! shown' || problem "'Konec' did not end the installed game"
    say "the installed game started through its shortcut, and 'Konec' ended it"
else
    lacks=$(grep -o 'Library .* not found' "$work/wine.log")
    problem "the installed game did not show its welcome screen${lacks:+: $lacks}"
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
passed
