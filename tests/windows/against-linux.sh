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

# shellcheck source=SCRIPTDIR/../play/linux-build.sh
source "$(dirname "${BASH_SOURCE[0]}")/../play/linux-build.sh"

linux_reference() {
    local x y
    linux_build_shows "$1" "$2" x_window $((BYTES_PER_SECOND * 3))
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
    local all rest letters side title y w h mask=()
    crop windows.png "$1" "$2" windows-welcome.png
    mask_controls mask welcome_enterBUTT welcome_endBUTT
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
