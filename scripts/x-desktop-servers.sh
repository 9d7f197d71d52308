# Sourced by x-desktop, with what it has set: wm, screen, bus, the folder $dir, the window
# managers' environment wm_env, the helpers start, poll, die, x_answers and wm_manages, and the
# lock on /tmp held on descriptor 9. Starts the X server and the window manager that x-desktop's
# usage names, and lets the lock go once the X server answers, before the window manager is waited
# for.
# shellcheck shell=bash disable=SC2154

if [ "$wm" = weston ] || [ "$wm" = mutter ]; then
    command -v "$wm" >/dev/null && command -v Xwayland >/dev/null || die "$wm and Xwayland are needed"
    export XDG_RUNTIME_DIR=$dir/runtime WAYLAND_DISPLAY=wayland-x-desktop XDG_SESSION_TYPE=wayland
    unset DISPLAY XAUTHORITY
    if [ "$wm" = weston ]; then
        start weston "${wm_env[@]}" weston --backend=headless-backend.so --xwayland \
            --socket="$WAYLAND_DISPLAY" --width="${screen%x*}" --height="${screen#*x}" --idle-time=0
        # The X display is the one weston's XWayland listens on, which its log names.
        x_display() { grep -o 'xserver listening on display :[0-9]*' "$dir/weston.log" 2>/dev/null | grep -o ':[0-9]*$'; }
        authority() { echo "$dir/xauthority"; }
        : >"$dir/xauthority"
    else
        [ "$bus" = yes ] || die "mutter needs the session bus"
        # mutter puts XWayland's socket in /tmp/.X11-unix only when every user may write there,
        # as the boot sets it up on any desktop machine: root's, 1777; mutter itself makes it
        # 0755 under the usual umask, and then refuses it. Only root makes it here, where it is
        # missing, in one step with its mode. What is already there is looked at, not followed,
        # and never changed: in /tmp another user may have put a link there, even after a check,
        # and a chmod would follow it. Once root's, nobody else can replace it in sticky /tmp.
        x11_unix=/tmp/.X11-unix
        if [ "$(id -u)" = 0 ]; then
            mkdir -m 1777 "$x11_unix" 2>/dev/null
        fi
        found=$(stat -c '%F:%a:%u' "$x11_unix" 2>/dev/null) ||
            die "$x11_unix is missing; mutter needs it as the boot makes it, root's and 1777 (root makes it)"
        [ "$found" = directory:1777:0 ] ||
            die "$x11_unix is a $(stat -c '%F, mode %a, owned by %U' "$x11_unix"); mutter needs a directory, root's and 1777, as the boot makes it: remove it, and x-desktop makes it when run as root"
        start mutter "${wm_env[@]}" mutter --wayland --headless --virtual-monitor "$screen" \
            --wayland-display="$WAYLAND_DISPLAY"
        # Its log names XWayland's public display; the cookie is in the runtime folder.
        x_display() { grep -o 'Using public X11 display :[0-9]*' "$dir/mutter.log" 2>/dev/null | grep -o ':[0-9]*$'; }
        # Only the file's own name is a pattern: the folder's path may hold *, ? or [.
        authority() {
            local file
            for file in "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.*; do
                [ -f "$file" ] && echo "$file" && return 0
            done
            return 1
        }
    fi
    poll 30 x_display >/dev/null || die "$wm started no X server"
    export DISPLAY XAUTHORITY
    DISPLAY=$(x_display)
    poll 30 authority >/dev/null || die "$wm wrote no X authority file"
    XAUTHORITY=$(authority)
    poll 30 x_answers || die "XWayland on $DISPLAY does not answer"
    flock -u 9
    if [ "$wm" = mutter ]; then
        poll 30 wm_manages || die "mutter does not manage X windows on $DISPLAY"
    fi
else
    case "$wm" in
        none) ;;
        openbox) wm_command=(openbox --sm-disable) ;;
        metacity) wm_command=(metacity --replace) ;;
        xfwm4) wm_command=(xfwm4 --replace --compositor=off --sm-client-disable) ;;
        icewm) wm_command=(icewm) ;;
        i3)
            # Debian's default settings, without the programs they start: a desktop session's
            # helpers and a first-start wizard that would open a window of its own.
            [ -r /etc/i3/config ] || die "i3's default settings, /etc/i3/config, are missing"
            grep -v -E '^[[:space:]]*exec' /etc/i3/config >"$dir/i3.config"
            wm_command=(env XDG_RUNTIME_DIR="$dir/runtime" i3 -c "$dir/i3.config") ;;
        *) echo "x-desktop: unknown window manager '$wm'" >&2; exit 2 ;;
    esac
    # The server reads every cookie in its authority file, whatever display it names; the
    # display's own entry is added once Xvfb has picked a free number.
    export XAUTHORITY=$dir/xauthority
    cookie=$(mcookie)
    : >"$XAUTHORITY"
    xauth -q -f "$XAUTHORITY" add :0 . "$cookie" || die "cannot write $XAUTHORITY"
    start xvfb Xvfb -displayfd 3 -screen 0 "${screen}x24" -auth "$XAUTHORITY" -nolisten tcp \
        -noreset 3>"$dir/display"
    has_number() { grep -q '[0-9]' "$dir/display"; }
    poll 30 has_number || die "Xvfb gave no display number"
    export DISPLAY=":$(tr -dc '0-9' <"$dir/display")"
    xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie" || die "cannot write $XAUTHORITY"
    poll 30 x_answers || die "the X server on $DISPLAY does not answer"
    flock -u 9
    if [ "$wm" != none ]; then
        command -v "$wm" >/dev/null || die "$wm is not installed"
        start "$wm" "${wm_env[@]}" "${wm_command[@]}"
        poll 30 wm_manages || die "$wm does not manage windows on $DISPLAY"
    fi
fi
