# shellcheck shell=bash disable=SC2154 # work, layout and the rest come from the script that sources this
# Sourced by plays-in-the-page.sh: the Linux build of the game, on the X desktop the test runs on,
# as the page is compared with it.
#
#   linux_reference LINUX_TONOVKA DATA_FOLDER
#       plays the Linux build to the main window before a game, and keeps the welcome screen's
#       and the main window's client areas (linux-welcome.png, linux-main.png), the siren's first
#       three seconds, and the tune's first eight from its first note
#   against_linux NAME SHOT "X Y W H" [CONTROL...]
#       compares the client area at X Y W H of SHOT with the Linux build's picture NAME, pixel for
#       pixel but for the controls named (buttons, which each style draws its own way) and for
#       a level of 255 in a channel: Qt blends the grey edges of letters through its gamma
#       tables, whose vector code on x86 and plain code in WebAssembly can round a level apart
#       (a few pixels of the menu's and the labels' letters); where
#       the frames differ and with them the clients' sizes (the main window holds its size with
#       the frame), as far as both reach from the top left, where the house lies
#   against_linux_sounds
#       compares the page's siren and tune (heard.raw, the tune from "Vstoupit" on) with the Linux
#       build's, each from its first sound, band for band below 8 kHz, within 1 dB

# shellcheck source=SCRIPTDIR/../play/linux-build.sh
source "$(dirname "${BASH_SOURCE[0]}")/../play/linux-build.sh"
linux_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
linux_client() { window_client "$(linux_window "$1")"; }

linux_reference() {
    local x y w h from
    linux_build_shows "$1" "$2" linux_window $((BYTES_PER_SECOND * 7 / 2))
    read -r x y w h < <(linux_client Form1)
    import -silent -window root "png:$work/linux.png" && convert "$work/linux.png" -crop "${w}x$h+$x+$y" +repage \
        "$work/linux-welcome.png" || fail "cannot take the Linux build's welcome screen"
    head -c $((BYTES_PER_SECOND * 3)) "$work/linux.raw" >"$work/linux-siren.raw"
    read -r x y _ < <(place welcome_enterBUTT "$x $y $w $h")
    # The tune starts as the main window shows, after the siren has ended.
    from=$(stat -c %s "$work/linux.raw")
    xdotool mousemove $((x + 10)) $((y + 10)) click 1
    poll 20 linux_window Tonovka >/dev/null || fail "the Linux build's main window never showed"
    sleep 1
    read -r x y w h < <(linux_client Tonovka)
    import -silent -window root "png:$work/linux.png" && convert "$work/linux.png" -crop "${w}x$h+$x+$y" +repage \
        "$work/linux-main.png" || fail "cannot take the Linux build's main window"
    poll 20 linux_sound_reaches $((from + BYTES_PER_SECOND * 10)) || fail "the Linux build wrote no tune"
    kill "${pids[-1]}"
    tail -c +$((from + 1)) "$work/linux.raw" | head -c $((BYTES_PER_SECOND * 10)) >"$work/linux-tune.raw"
}

against_linux() {
    local name=$1 shot=$2 area=$3 x y w h linux_w linux_h differ beyond mask=()
    read -r x y w h <<<"$area"
    read -r linux_w linux_h < <(identify -format '%w %h' "$work/linux-$name.png")
    [ "$linux_w" -ge "$w" ] || w=$linux_w
    [ "$linux_h" -ge "$h" ] || h=$linux_h
    convert "$work/$shot" -crop "${w}x$h+$x+$y" +repage "$work/page-$name.png"
    mask+=(-crop "${w}x$h+0+0" +repage)
    mask_controls mask "${@:4}"
    for side in linux page; do
        convert "$work/$side-$name.png" "${mask[@]}" "$work/$side-$name-rest.png"
    done
    differ=$(compare -metric AE "$work/linux-$name-rest.png" "$work/page-$name-rest.png" null: 2>&1)
    # A fuzz of 0.5 % lets one level pass in every channel, and counts two in any one.
    beyond=$(compare -metric AE -fuzz 0.5% "$work/linux-$name-rest.png" "$work/page-$name-rest.png" null: 2>&1)
    say "the $name screen against Linux${4:+, outside ${*:4}}: $differ pixels differ, $beyond by more than a level"
    [ "$beyond" = 0 ] || problem "the $name screen differs from Linux's (linux-$name.png, page-$name.png)"
}

# compare NAME FROM: the page's sound NAME, from byte FROM of heard.raw, against the Linux build's.
compare_sound() {
    tail -c +$(($2 + 1)) "$work/heard.raw" | head -c "$(stat -c %s "$work/linux-$1.raw")" >"$work/page-$1.raw"
    python3 "$spectrum" --check 1 --below 8000 "$work/linux-$1.raw" "$SOUND_RATE" "$work/page-$1.raw" "$SOUND_RATE" \
        >"$work/$1-bands.txt" || problem "the page's $1 does not sound as Linux's ($1-bands.txt)"
    say "the $1 against Linux: $(tail -n 1 "$work/$1-bands.txt")"
}
against_linux_sounds() {
    compare_sound siren 0
    compare_sound tune "$bytes_enter"
}
