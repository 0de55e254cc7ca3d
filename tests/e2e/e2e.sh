#!/bin/bash
# End-to-end checks of the real quorvel executable in an X server (the suite's Xvfb).
#
#   e2e.sh QUORVEL CLOSE_REQUEST SOURCE_DIR CASE
#   e2e.sh QUORVEL_TOURNAMENT CLOSE_REQUEST SOURCE_DIR watch|watch-uneven|watch-finished|watch-stop WATCH_CHECK
#   e2e.sh QUORVEL_TOURNAMENT CLOSE_REQUEST SOURCE_DIR watch-player WATCH_CHECK WATCH_FRAME
#
# Each case starts the program, drives it with real key presses (xdotool, through XTest) or a real
# close request, reads its window back with ImageMagick's import, and checks how it ends.
set -u

quorvel=$1
close_request=$2
source_dir=$3
case_name=$4
watch_check=${5:-}
watch_frame=${6:-}
# What start runs, and the name of the window it waits for. QUORVEL_RUNNER runs the program (legs/wine-run
# for a Windows build), and QUORVEL_HOME is the folder with its assets that the cases start it in.
runner=${QUORVEL_RUNNER:-}
home=${QUORVEL_HOME:-$source_dir}
arguments=()
title=QUORVEL

work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL ($case_name): $*"
    for stream in stdout stderr; do
        if [ -s "$work/$stream" ]; then
            echo "--- program $stream:"
            head -20 "$work/$stream"
        fi
    done
    exit 1
}

# start DIR: runs the program with DIR as its working directory and waits for its window.
start() {
    (cd "$1" && exec $runner "$quorvel" "${arguments[@]}" >"$work/stdout" 2>"$work/stderr") &
    pid=$!
    if ! window=$("$source_dir/legs/quorvel-window" "$pid" 10 "$title"); then
        kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
        fail "no window named $title appeared within 10 s"
    fi
    # The library centres the window only roughly and may leave part of it off a small screen; with the
    # whole window on screen, screenshots show all of it.
    xdotool windowmove --sync "$window" 0 0 2>/dev/null || fail "cannot move the window on screen"
    xdotool windowfocus --sync "$window" 2>/dev/null || fail "cannot focus the window"
    # The window can be mapped before its first frame is presented; wait for the field to show.
    for _ in $(seq 100); do
        shot first
        at_least "$(grey_share first)" 0.5 && return
        sleep 0.1
    done
    fail "the window never showed the grey field"
}

# press KEYS: a real key press through XTest, into the focused window.
press() {
    xdotool key --clearmodifiers "$1" || fail "xdotool could not press $1"
}

# ends_with_within STATUS SECONDS: the program has ended, with that status, within that time.
ends_with_within() {
    local tenths=$(($2 * 10))
    for _ in $(seq "$tenths"); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "still running $2 s after being asked to quit"
    fi
    wait "$pid"
    local status=$?
    pid=""
    [ "$status" -eq "$1" ] || fail "exit status $status, not $1"
}

ends_with_zero_within() {
    ends_with_within 0 "$1"
}

# prints_nothing_of_its_own: stdout is empty, and stderr holds only the graphics library's diagnostics (whose
# lines end in CR LF on Windows): SFML 2 says what failed on one line, SFML 3 adds the paths and the reason on
# lines of their own.
prints_nothing_of_its_own() {
    [ -s "$work/stdout" ] && fail "the program wrote to stdout"
    local own
    own=$(tr -d '\r' <"$work/stderr" | grep -v -E '^(Setting vertical sync not supported|Failed to load image ".*"\. Reason: .*|Failed to load font ".*" \(.*\)|Failed to create texture, invalid size \(.*\))$' |
        grep -v -E '^(Failed to load image|Failed to load font (from file )?\(.*\)(: .*)?|    (Provided|Absolute) path: .*|Reason: .*)$')
    [ -z "$own" ] || fail "unexpected output on stderr: $own"
}

# shot NAME: a screenshot of the window, as a PNG.
shot() {
    import -window "$window" "$work/$1.png" 2>/dev/null || fail "import could not capture the window"
}

# shows PICTURE SECONDS: within that time, the window shows exactly the picture that watch-frame drew.
shows() {
    convert "$work/$1.png" -depth 8 "rgb:$work/$1.rgb"
    local until=$(($(date +%s%N) + $2 * 1000000000))
    while [ "$(date +%s%N)" -lt "$until" ]; do
        import -window "$window" -depth 8 rgb:- 2>/dev/null | cmp -s - "$work/$1.rgb" && return 0
        sleep 0.05
    done
    return 1
}

# cpu_ticks: the CPU time the program has taken so far, in clock ticks.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$pid/stat"
}

# idles_for_3_s WHAT: over 3 s the program takes less than a tenth of a core.
idles_for_3_s() {
    local before ticks
    before=$(cpu_ticks)
    sleep 3
    ticks=$(($(cpu_ticks) - before))
    echo "CPU time in 3 s $1: $ticks ticks of $(getconf CLK_TCK) a second"
    [ $((ticks * 10)) -lt $((3 * $(getconf CLK_TCK))) ] || fail "$1, it kept the CPU busy: $ticks ticks in 3 s"
}

# grey_share NAME: the share of the window's pixels that are exactly the field's grey (192, 192, 192).
grey_share() {
    convert "$work/$1.png" -fill white +opaque "rgb(192,192,192)" -fill black -opaque "rgb(192,192,192)" \
        -negate -format "%[fx:mean]" info:
}

# piece_share NAME: the share of the field, below the overlay lines, that is not grey.
piece_share() {
    convert "$work/$1.png" -crop 1200x660+0+140 +repage -fill white +opaque "rgb(192,192,192)" \
        -fill black -opaque "rgb(192,192,192)" -format "%[fx:mean]" info:
}

# at_least A B: A >= B, for decimal fractions.
at_least() {
    awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'
}

# shows_piece_images NAME: the screenshot shows the pieces' images, not the plain white squares of pieces drawn
# without their texture: the scissors' red handles are there.
shows_piece_images() {
    local red
    red=$(convert "$work/$1.png" -fuzz 20% -fill lime -opaque "rgb(214,36,42)" -fuzz 0 -fill black +opaque lime \
        -fill white -opaque lime -format "%[fx:mean*w*h]" info:)
    at_least "$red" 100 || fail "the pieces show no images (only $red red pixels): the sprite sheet was not found"
}

make_assets() {
    mkdir -p "$work/run/assets/textures" "$work/run/assets/fonts"
    cp "$home/assets/textures/objects.png" "$work/run/assets/textures/"
    cp "$home/assets/fonts/pixelated.ttf" "$work/run/assets/fonts/"
}

# runs_and_quits_on_e DIR: the program opens its window from DIR, keeps running, and quits on E.
runs_and_quits_on_e() {
    start "$1"
    sleep 1
    kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
    press e
    ends_with_zero_within 3
    prints_nothing_of_its_own
}

case "$case_name" in
window)
    start "$home"
    [ "$(xdotool getwindowname "$window")" = "QUORVEL" ] || fail "the window is not named exactly QUORVEL"
    geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }')
    [ "$geometry" = "1200x800" ] || fail "the window is $geometry, not 1200x800"
    press e
    ends_with_zero_within 3
    prints_nothing_of_its_own
    ;;
field)
    start "$home"
    # A screenshot can catch the window while a frame is being presented; a few tries get a whole frame.
    for _ in $(seq 20); do
        shot field
        grey=$(grey_share field)
        pieces=$(piece_share field)
        at_least "$grey" 0.6 && at_least "$pieces" 0.02 && break
        sleep 0.1
    done
    size=$(identify -format "%wx%h" "$work/field.png")
    [ "$size" = "1200x800" ] || fail "the screenshot is $size"
    at_least "$grey" 0.6 || fail "only $grey of the window is the field's grey"
    at_least "$pieces" 0.02 || fail "only $pieces of the field shows pieces"
    press e
    ends_with_zero_within 3
    ;;
restart)
    start "$home"
    shot before
    before=$(piece_share before)
    press r
    # The restart shows in the first frame drawn after the key press; wait for it, up to 5 s.
    for _ in $(seq 50); do
        shot after
        after=$(piece_share after)
        ratio=$(awk -v a="$after" -v b="$before" 'BEGIN { printf "%.3f", a / b }')
        at_least "$ratio" 1.5 && break
        sleep 0.1
    done
    echo "piece area before R: $before, after R: $after, ratio $ratio"
    at_least "$ratio" 1.5 || fail "R did not double the pieces (ratio $ratio)"
    at_least 2.6 "$ratio" || fail "R more than doubled the pieces (ratio $ratio)"
    press e
    ends_with_zero_within 3
    ;;
quit-e)
    start "$home"
    press e
    ends_with_zero_within 3
    prints_nothing_of_its_own
    ;;
quit-shift-e)
    start "$home"
    press shift+e
    ends_with_zero_within 3
    ;;
quit-close-request)
    start "$home"
    "$close_request" "$window" || fail "the close request could not be sent"
    ends_with_zero_within 3
    prints_nothing_of_its_own
    ;;
no-assets)
    mkdir -p "$work/run"
    runs_and_quits_on_e "$work/run"
    ;;
empty-png)
    make_assets
    : >"$work/run/assets/textures/objects.png"
    runs_and_quits_on_e "$work/run"
    ;;
truncated-png)
    make_assets
    head -c 200 "$home/assets/textures/objects.png" >"$work/run/assets/textures/objects.png"
    runs_and_quits_on_e "$work/run"
    ;;
random-font)
    make_assets
    head -c 65536 /dev/urandom >"$work/run/assets/fonts/pixelated.ttf"
    runs_and_quits_on_e "$work/run"
    ;;
no-display)
    # Started where there is no display at all (a text console, ssh without X forwarding): one line that says
    # so, status 1, and no abort.
    # shellcheck disable=SC2086 # the runner is a command in words of its own, or nothing
    (cd "$home" && exec env -u DISPLAY -u WAYLAND_DISPLAY $runner "$quorvel" >"$work/stdout" 2>"$work/stderr")
    status=$?
    [ "$status" -eq 1 ] || fail "exit status $status, not 1"
    [ -s "$work/stdout" ] && fail "the program wrote to stdout"
    if [ "$(wc -l <"$work/stderr")" -ne 1 ] || ! grep -q "^quorvel: no X display" "$work/stderr"; then
        fail "not the one line that says the display is missing"
    fi
    ;;
make-run-without-display)
    # make run where there is no display ends with the game's own line, and make's line for the game's status
    # 1 (make's own status for a failed command is not the game's). It runs what is built, building nothing.
    env -u DISPLAY -u WAYLAND_DISPLAY -u MAKEFLAGS -u MAKELEVEL make -s -C "$source_dir" -o build run \
        BUILD_DIR="$(dirname "$quorvel")" >"$work/stdout" 2>"$work/stderr" && fail "make run succeeded without a display"
    [ -s "$work/stdout" ] && fail "make run wrote to stdout"
    [ "$(wc -l <"$work/stderr")" -eq 2 ] && grep -q "^quorvel: no X display" "$work/stderr" &&
        tail -n 1 "$work/stderr" | grep -q "Error 1\$" ||
        fail "not the game's line, then make's for status 1"
    ;;
watch)
    # Game 7 of a tournament, at ten seconds a frame: the first frame, before any update, stays on screen.
    arguments=(--watch 7 --start 150 --frame-time 10)
    title="QUORVEL 7"
    # Started from a folder that has nothing to do with it: the tool finds the assets from its own place.
    mkdir -p "$work/elsewhere"
    start "$work/elsewhere"
    geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }')
    [ "$geometry" = "1200x800" ] || fail "the window is $geometry, not 1200x800"
    shot first
    shows_piece_images first
    "$watch_check" "$work/first.png" 7 50 --status-line || fail "the first frame is not the tournament's spawn for seed 7"
    press e
    ends_with_zero_within 3
    prints_nothing_of_its_own
    ;;
watch-uneven)
    # The watch's check, from an uneven start: the first frame shows every piece where the spawn puts it.
    arguments=(--watch 7 --start "30,50,70" --frame-time 10)
    title="QUORVEL 7"
    start "$source_dir"
    shot first
    "$watch_check" "$work/first.png" 7 30,50,70 --status-line || fail "the first frame is not the spawn of 30,50,70 for seed 7"
    press e
    ends_with_zero_within 3
    ;;
watch-finished)
    # Game 7 cut short at its fifth frame, a thousandth of a second each, is over at once; then it stays on
    # screen, idle: below a tenth of a core over 3 s. E ends it within a second, and so does a close request
    # the next time.
    arguments=(--watch 7 --start 150 --frame-time 0.001 --max-frames 5)
    title="QUORVEL 7"
    start "$source_dir"
    sleep 2
    idles_for_3_s "with the game over"
    press e
    ends_with_zero_within 1
    start "$source_dir"
    sleep 1
    "$close_request" "$window" || fail "the close request could not be sent"
    ends_with_zero_within 1
    ;;
watch-player)
    # Game 9 of the 300-piece start, 908 frames long: 15.1 s at one frame per frame time.
    arguments=(--watch 9 --start 300)
    title="QUORVEL 9"
    (cd "$work" && "$quorvel" --seeds 9-9 --start 300 --csv row.csv >/dev/null 2>&1) || fail "the tournament failed"
    IFS=, read -r _ winner frames _ < <(sed -n 2p "$work/row.csv")
    draw() {
        (cd "$source_dir" && "$watch_frame" "$work/$1.png" "$2" "$3" "${arguments[@]}") || fail "watch-frame failed"
    }
    start "$source_dir"
    # Paused, started again and stepped five times: frame 5 exactly, as the seeded game has it after five frames.
    press space
    press Home
    for key in Right Right Right period period; do
        press "$key"
    done
    draw five 5 "Seed 9, frame 5, 0.08 s, paused" >/dev/null
    shows five 5 || fail "paused and stepped five times, the window does not show frame 5"
    idles_for_3_s "paused"
    # At 64 times the speed, the banner of the tournament's row in a fraction of the game's own time.
    seconds=$(awk -v frames="$frames" 'BEGIN { printf "%.2f", frames * 0.0166666675 }')
    [ "$(draw over "$frames" "Seed 9, frame $frames, $seconds s, over at frame $frames")" = "$winner" ] ||
        fail "the seeded game does not end as the tournament's row: $winner at frame $frames"
    for key in plus plus plus KP_Add KP_Add KP_Add space; do
        press "$key"
    done
    began=$(date +%s%N)
    shows over 5 || fail "at 64 times the speed, the window does not show $winner winning at frame $frames within 5 s"
    echo "at 64x: the banner after $((($(date +%s%N) - began) / 1000000)) ms, of $seconds s at 1x"
    # Started again after the banner: the spawn.
    press space
    press BackSpace
    draw spawn 0 "Seed 9, frame 0, 0.00 s, paused" >/dev/null
    shows spawn 5 || fail "started again, the window does not show the spawn"
    press e
    ends_with_zero_within 3
    prints_nothing_of_its_own
    ;;
watch-stop)
    # Ctrl-C and SIGTERM end the watch as they end the other modes, also where the shell that started it in the
    # background left SIGINT ignored.
    arguments=(--watch 7 --frame-time 10)
    title="QUORVEL 7"
    printf '#!/bin/sh\ntrap "" INT\nexec "$@"\n' >"$work/ignoring-ctrl-c"
    chmod +x "$work/ignoring-ctrl-c"
    for stop in TERM:SIGTERM INT:Ctrl-C ignored-INT:Ctrl-C; do
        signal=${stop%%:*}
        runner=$([ "$signal" = ignored-INT ] && echo "$work/ignoring-ctrl-c")
        start "$source_dir"
        kill "-${signal#ignored-}" "$pid"
        ends_with_within 130 3
        grep -q "^quorvel-tournament: stopped: interrupted by ${stop#*:}$" "$work/stderr" ||
            fail "$signal: not the line that names ${stop#*:}: $(cat "$work/stderr")"
    done
    ;;
launcher)
    # QUORVEL is an installed launcher here, started from a folder that has nothing to do with it.
    mkdir -p "$work/elsewhere"
    start "$work/elsewhere"
    shot launched
    shows_piece_images launched
    press e
    ends_with_zero_within 3
    prints_nothing_of_its_own
    ;;
*)
    echo "unknown case: $case_name"
    exit 2
    ;;
esac
echo "PASS ($case_name)"
