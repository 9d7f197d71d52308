# shellcheck shell=bash disable=SC2154 # work, url, page and the steps' variables come from plays-in-the-page.sh
# Sourced by plays-in-the-page.sh: its rows beyond the first, each a session of the page on one
# of the driver's devices, with the play script's primitives and the player's steps.

# inside_the_page NAME TITLE: the window of that title, frame and all, lies inside the page.
inside_the_page() {
    local at page_w page_h
    at=$(ask frame "$2")
    read -r page_w page_h < <(ask viewport)
    say "$1 on the ${page_w}x$page_h page: ${at// /,}"
    [ "$at" != none ] && lies_within "$at" "0 0 $page_w $page_h" || problem "$1 ($at) does not lie inside the ${page_w}x$page_h page"
}

# On a screen of twice the pixels the game is twice its size, its pictures doubled pixel for
# pixel: the welcome screen's picture, below its buttons, as at the first scale. Zoomed to 200 %
# on a laptop's screen of 1366 x 768, the page holds the main window at one device pixel to each
# of the game's.
twice_the_pixels() {
    local x y w h below height doubled
    open_page "$url" twice
    poll 60 find_screen twice_at Form1 || fail "the welcome screen never showed at twice the scale"
    read -r x y w h <<<"$twice_at"
    read -r _ below _ height < <(place welcome_enterBUTT "0 0 $w $h")
    below=$((below + height))
    ask shot "$work/twice.png" device >/dev/null
    convert "$work/twice.png" -crop "$((2 * w))x$((2 * (h - below)))+$((2 * x))+$((2 * (y + below)))" +repage "$work/twice-picture.png"
    convert "$work/page-welcome.png" -crop "${w}x$((h - below))+0+$below" +repage -filter point -resize 200% "$work/doubled.png"
    doubled=$(compare -metric AE "$work/doubled.png" "$work/twice-picture.png" null: 2>&1)
    say "at twice the scale the welcome screen is ${w}x$h; its picture differs from the first scale's, doubled, in $doubled pixels"
    [ "$w $h" = "${layout[welcome]#0 0 }" ] && [ "$w $h" = "${welcome_at#* * }" ] || problem "the welcome screen is not the same size at twice the scale"
    [ "$doubled" = 0 ] || problem "the pictures are not doubled pixel for pixel at twice the scale (doubled.png, twice-picture.png)"
    # shellcheck disable=SC2046 # "X Y"
    game_click $(centre welcome_enterBUTT "$twice_at")
    poll 20 find_screen main_at Tonovka || fail "the main window never showed at twice the scale"
    ask turn 683 330 >/dev/null
    poll 5 rests main_at Tonovka || problem "the main window did not come to rest at 200 %"
    inside_the_page "the main window at 200 %" Tonovka
    quit_the_page twice
}

# A phone upright, its page from a host without TLS, played by touch: a whole game, the tune
# heard from the first note to the flood. Turned on its side as the main window shows, the page
# holds the main window, and again when it is turned back.
phone_by_touch_without_tls() {
    local served=$url
    url=${url/127.0.0.1/tonovka.test}
    device=phone
    on_welcome() { inside_the_page "the welcome screen on a phone" Form1; }
    on_main() {
        inside_the_page "the main window on a phone" Tonovka
        ask turn 844 390 >/dev/null
        poll 5 rests main_at Tonovka || problem "the main window did not come to rest on a phone on its side"
        inside_the_page "the main window on a phone on its side" Tonovka
        ask turn 390 844 >/dev/null
    }
    on_game_over() { :; }
    game_new_game() { [ "$(ask menu)" = ok ] || fail "the menu's first item never showed on a phone"; }
    # Two device pixels to each of the game's round the menu bar's font a row taller.
    MENU_BAR_SLACK=1
    say "a phone by touch, from $url"
    play_a_whole_game "$e2eprobe"
    quit_the_page phone
    unset -f game_new_game
    url=$served device=desktop MENU_BAR_SLACK=0
}

# tree_has ROLE:NAME: the page's accessibility tree holds it. read_tree: the tree in $tree, a
# line each, for what reads it through a pipe: the driver's pipes reach no pipeline's subshell.
tree_has() { [[ "|$(ask tree)|" == *"|$1|"* ]]; }
read_tree() { tree=$(ask tree) && tree=${tree//|/$'\n'}; }
press_in_tree() { [ "$(ask press "$1" "$2")" = ok ] || fail "the accessibility tree holds no $1 '$2'"; }
occupied_window() {
    read_tree
    occupied=$(sed -n 's/^button:\(Okno [0-9]*: \(muž\|žena\)\)$/\1/p' <<<"$tree" | head -n 1)
    [ -n "$occupied" ]
}
score_read() { read_tree && sed -n '/^StaticText:Skóre:$/{n;s/^StaticText://p}' <<<"$tree"; }

# A page whose server stops five seconds after the first screen showed, played through Chromium's
# accessibility tree alone, as a screen reader plays it: the fifteen windows in their order, whom
# each holds, the score, "OK"; and the tune heard, which the page made ready before the server
# went.
offline_through_the_tree() {
    local order before
    serve "$page"
    open_page "$url" desktop
    mark start
    poll 60 find_screen welcome_at Form1 || fail "the welcome screen never showed (offline row)"
    sleep 5
    kill "$server_pid" && wait "$server_pid" 2>/dev/null
    server_pid=''
    say "the page's server stopped five seconds after the welcome screen showed"
    [ "$(ask reader)" -ge 1 ] || fail "no button of the page turns its screen reader support on"
    poll 10 tree_has button:Vstoupit || fail "the accessibility tree holds no 'Vstoupit'"
    mark enter
    press_in_tree button Vstoupit
    poll 20 tree_has menuitem:Hra || fail "the main window's menu never came to the accessibility tree"
    mark main
    press_in_tree menuitem Hra
    poll 5 tree_has "menuitem:Nová hra" || fail "'Hra' pressed in the accessibility tree brought no 'Nová hra'"
    press_in_tree menuitem "Nová hra"
    read_tree
    order=$(sed -n 's/^button:Okno \([0-9]*\):.*/\1/p' <<<"$tree" | paste -sd' ')
    say "the windows in the accessibility tree: $order"
    [ "$order" = "$(seq -s ' ' 15)" ] || problem "the accessibility tree reads the windows in the order $order"
    poll 10 occupied_window || fail "the accessibility tree never said whom a window holds"
    before=$(score_read)
    press_in_tree button "$occupied"
    poll 5 eval '[ "$(score_read)" != "$before" ]' || fail "pressing '$occupied' in the accessibility tree left the score at $before"
    say "pressed '$occupied' in the accessibility tree: the score went from $before to $(score_read)"
    poll 60 tree_has button:OK || fail "'Gejm Ouvr' never came to the accessibility tree"
    mark gameover
    poll 15 sound_reaches $((bytes_gameover + 2 * BYTES_PER_SECOND)) || fail "no more sound was captured after the flood"
    mark ok
    press_in_tree button OK
    poll 10 game_ended || fail "'OK' pressed in the accessibility tree did not end the game"
    [ "$game_status" -eq 0 ] || problem "the game ended with status $game_status through the accessibility tree"
    sound_step yes
    quit_the_page offline
}

# A page whose server lacks the program itself says so, and loads no longer.
without_its_program() {
    mkdir -p "$work/no-program"
    cp -r "$page/." "$work/no-program/"
    rm "$work/no-program/tonovka.wasm"
    serve "$work/no-program"
    open_page "$url" desktop
    says_so() { [[ "$(ask loading)" == "Hru se nepodařilo spustit"*tonovka.wasm* ]]; }
    poll 30 says_so || problem "without tonovka.wasm the page says '$(ask loading)'"
    say "without tonovka.wasm the page says '$(ask loading)'"
    quit_the_page no-program
}

# A page whose server has a broken tune and no siren: a game without a rescue plays on, silent,
# says so once for each sound in the console, shows people in at least ten windows (sampled twice
# a second), and ends with "OK".
with_broken_sounds() {
    local seen='' silent
    mkdir -p "$work/broken"
    cp -r "$page/." "$work/broken/"
    rm "$work/broken/siren.wav"
    head -c 100 "$page/rytmozan.mid" >"$work/broken/rytmozan.mid"
    serve "$work/broken"
    game_start
    poll 60 find_screen welcome_at Form1 || fail "the welcome screen never showed without its sounds"
    # shellcheck disable=SC2046 # "X Y"
    game_click $(centre welcome_enterBUTT "$welcome_at")
    poll 20 find_screen main_at Tonovka || fail "the main window never showed without its sounds"
    shot house-empty.png
    game_key ctrl+n
    sample_the_house() {
        shot sample.png
        local n=0 changed
        # shellcheck disable=SC2046 # the grid's numbers
        for changed in $(probe cells "$work/house-empty.png" "$work/sample.png" $(house_grid "$main_at")); do
            n=$((n + 1))
            [ "$changed" -le 100 ] || [[ " $seen " == *" $n "* ]] || seen="$seen $n"
        done
        ! game_window "Gejm Ouvr" >/dev/null
    }
    while sample_the_house; do sleep 0.5; done
    say "people seen in windows$seen in one game without a rescue"
    [ "$(wc -w <<<"$seen")" -ge 10 ] || problem "people showed in $(wc -w <<<"$seen") windows in a whole game, fewer than ten"
    find_screen konec_at "Gejm Ouvr" || fail "'Gejm Ouvr' went"
    # shellcheck disable=SC2046 # "X Y"
    game_click $(centre Konec_Command1 "$konec_at")
    poll 10 game_ended || fail "the page did not end the game after 'OK'"
    [ "$game_status" -eq 0 ] || problem "the page without its sounds ended the game with status $game_status"
    game_sound "$work/silent.raw"
    [ ! -s "$work/silent.raw" ] || [ "$(value peak "$(probe level "$work/silent.raw" 0 "$(stat -c %s "$work/silent.raw")")")" -le 64 ] ||
        problem "a page without its sounds sounded"
    quit_the_page second
    silent=$(grep -c "stays silent" "$work/console-second.log")
    [ "$silent" -eq 2 ] || problem "the console says $silent times that a sound stays silent, not once for each sound (console-second.log)"
}
