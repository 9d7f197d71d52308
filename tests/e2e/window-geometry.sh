# Sourced by the scripts that measure the game's windows on an X desktop: the one way they tell
# where a window lies and how large it is with its frame. Needs xwininfo and xprop (x11-utils).
# xwininfo gives true positions; wmctrl -lG and xdotool getwindowgeometry count a frame twice.
#
#   window_client ID     "X Y WIDTH HEIGHT" of the window's client area on the screen
#   window_frame ID      "LEFT RIGHT TOP BOTTOM" of the frame the window manager put around it;
#                        nothing while it has none
#   window_outer ID      "X Y WIDTH HEIGHT" of the window with its frame
#   window_holder ID     the child of the root window that holds the window: its frame, or itself
#   window_frames_named  succeeds where the window manager names frames (_NET_FRAME_EXTENTS)
#   lies_centred X Y W H succeeds where that frame lies in the middle of the work area, given as
#                        area_x area_y area_w area_h, give or take a pixel

window_client() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
         /Width:/ { w = $2 } /Height:/ { h = $2 }
         END { print x, y, w, h }' <<<"$info"
}

window_holder() {
    local window=$(($1)) parent root
    root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
    while parent=$(xwininfo -tree -id "$window" 2>/dev/null | awk '/Parent window id:/ { print $4 }') &&
        [ -n "$parent" ] && [ $((parent)) -ne $((root)) ]; do
        window=$((parent))
    done
    printf '0x%x\n' "$window"
}

window_frames_named() {
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q '_NET_FRAME_EXTENTS'
}

# Where the window manager names the frame, that is the frame: mutter's resize borders lie outside
# what it names. One that names none (i3) puts the window into a frame window of its own.
window_frame() {
    if window_frames_named; then
        xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ','
        return
    fi
    local holder x y w h fx fy fw fh
    holder=$(window_holder "$1")
    [ $((holder)) -ne $(($1)) ] || return 0
    read -r x y w h < <(window_client "$1") && read -r fx fy fw fh < <(window_client "$holder") || return 1
    echo "$((x - fx)) $((fx + fw - x - w)) $((y - fy)) $((fy + fh - y - h))"
}

window_outer() {
    local l r t b x y w h
    read -r x y w h < <(window_client "$1") || return 1
    read -r l r t b < <(window_frame "$1")
    echo "$((x - ${l:-0})) $((y - ${t:-0})) $((w + ${l:-0} + ${r:-0})) $((h + ${t:-0} + ${b:-0}))"
}

lies_centred() {
    local dx=$((2 * $1 + $3 - 2 * area_x - area_w)) dy=$((2 * $2 + $4 - 2 * area_y - area_h))
    [ "$dx" -ge -1 ] && [ "$dx" -le 1 ] && [ "$dy" -ge -1 ] && [ "$dy" -le 1 ]
}
