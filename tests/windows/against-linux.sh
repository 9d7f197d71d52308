# shellcheck shell=bash disable=SC2154 # work, layout and the rest come from the script that sources this
# Sourced by plays-from-the-zip.sh: the Windows game's welcome screen and siren against the Linux
# build's. Pixel for pixel, but for what must differ: the buttons are drawn by each system's own
# style, and Qt blends the grey edges of the title's letters (Comic Neue, a font of CFF outlines)
# with a gamma of 2.31 on Windows and 1.7 on Linux, so those edges differ by a few levels. The
# siren band for band (bench/spectrum.py).
#
#   linux_reference LINUX_TONOVKA DATA_FOLDER
#       shows the Linux build's welcome screen and keeps its picture (linux-welcome.png) and the
#       first three seconds of its siren
#   against_linux X Y SPECTRUM
#       compares the welcome screen whose client area begins at X Y in windows.png, and the
#       first three seconds of out.raw, with those
# Needs x_window TITLE, the X window of the game's window of that title.

linux_siren() { [ "$(stat -c %s "$work/linux.raw" 2>/dev/null || echo 0)" -ge $((BYTES_PER_SECOND * 3)) ]; }

linux_reference() {
    local x y
    mkdir -p "$work/linux" && cp "$2/siren.wav" "$2/rytmozan.mid" "$work/linux/"
    (cd "$work/linux" && exec env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/linux.raw" "$1") >/dev/null 2>&1 &
    pids+=($!)
    poll 30 x_window Form1 >/dev/null || fail "the Linux build's welcome screen never showed"
    poll 20 linux_siren || fail "the Linux build wrote no siren"
    read -r x y _ < <(window_client "$(x_window Form1)")
    import -silent -window root "png:$work/linux.png" || fail "cannot take the screenshot linux.png"
    kill "${pids[-1]}"
    crop linux.png "$x" "$y" linux-welcome.png
    head -c $((BYTES_PER_SECOND * 3)) "$work/linux.raw" >"$work/linux-siren.raw"
}

crop() {
    local _ w h
    read -r _ _ w h <<<"${layout[welcome]}"
    convert "$work/$1" -crop "${w}x$h+$2+$3" +repage "$work/$4"
}

against_linux() {
    local all rest letters side title button x y w h mask=(-fill black)
    crop windows.png "$1" "$2" windows-welcome.png
    for button in welcome_enterBUTT welcome_endBUTT; do
        read -r x y w h <<<"${layout[$button]}"
        mask+=(-draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))")
    done
    read -r _ y _ h <<<"${layout[welcome_tittlelbl]}"
    title=$((y + h))
    read -r _ _ w _ <<<"${layout[welcome]}"
    for side in linux windows; do
        convert "$work/$side-welcome.png" "${mask[@]}" -draw "rectangle 0,0 $w,$((title - 1))" "$work/$side-rest.png"
        convert "$work/$side-welcome.png" -crop "${w}x$title+0+0" +repage "$work/$side-title.png"
    done
    all=$(compare -metric AE "$work/linux-welcome.png" "$work/windows-welcome.png" null: 2>&1)
    rest=$(compare -metric AE "$work/linux-rest.png" "$work/windows-rest.png" null: 2>&1)
    letters=$(compare -metric AE -fuzz 12% "$work/linux-title.png" "$work/windows-title.png" null: 2>&1)
    say "welcome screen against Linux: $all pixels differ; $rest outside the buttons and the title;" \
        "$letters in the title by more than 12 %"
    [ "$rest $letters" = "0 0" ] || problem "the welcome screen differs from Linux's (linux-welcome.png, windows-welcome.png)"
    head -c $((BYTES_PER_SECOND * 3)) "$work/out.raw" >"$work/windows-siren.raw"
    python3 "$3" --check 0.5 "$work/linux-siren.raw" "$SOUND_RATE" "$work/windows-siren.raw" "$SOUND_RATE" ||
        problem "the siren under Wine does not sound as on Linux"
}
