#!/usr/bin/env bash
# The window end to end: no display and a bad state fail with their messages;
# fallback (full screen refused), fullscreen and soft runs answer the
# questions, check the picture, G, F1 and the exit code (shots: e2e-window).
set -euo pipefail

build="$(cd "${1:?usage: window.sh <build-dir>}" && pwd)"
export SDL_VIDEODRIVER=x11
shots="$build/e2e-window"

if [ $# -lt 2 ]; then
    mkdir -p "$shots"
    rm -f "$shots"/*.png
    status=0

    echo "=== no display"
    set +e
    said="$(cd "$(mktemp -d)" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
        timeout 60 "$build/cube-solver" 2>&1 </dev/null)"
    code=$?
    set -e
    echo "$said"
    for text in "Would You Like To Run In Fullscreen Mode?" "Would You Like To Run In A Soft Mode?" \
        "Failed To Register The Window Class."; do
        grep -qF "$text" <<<"$said" && [ "$code" -ne 0 ] && [ "$code" -ne 124 ] ||
            { echo "=== no display FAILED (exit code $code, no '$text')"; status=1; }
    done

    echo "=== a state no cube can have: refused before any question or window"
    set +e
    said="$(cd "$(mktemp -d)" && echo UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBU |
        env -u DISPLAY timeout 60 "$build/cube-solver" --state-file - 2>&1)"
    code=$?
    set -e
    echo "$said"
    [ "$code" -eq 2 ] && [ "$said" = "cube-solver: <stdin>: there are 10 of letter U, not nine" ] ||
        { echo "=== bad state FAILED (exit code $code)"; status=1; }

    for scenario in fallback fullscreen soft; do
        screen=1280x1024x24
        [ "$scenario" = fullscreen ] && screen=1024x768x24
        echo "=== $scenario (screen $screen)"
        # -noreset: the question boxes come and go; the server must stay.
        if ! xvfb-run -a -s "-screen 0 $screen -noreset" bash "$0" "$build" "$scenario"; then
            echo "=== $scenario FAILED"
            status=1
        fi
    done
    exit "$status"
fi

scenario="$2"
xd_name="window.sh ($scenario)"
# shellcheck source=../../scripts/xdrive.sh
source "$(dirname "$0")/../../scripts/xdrive.sh"

# Prints "green pink lit" pixel counts of the window's middle band.
colours() {
    local shot="$1" geo w h x y
    geo="$(geometry)"
    w="${geo%%x*}"
    h="${geo#*x}"; h="${h%%+*}"
    x="$(echo "$geo" | cut -d+ -f2)"; y="$(echo "$geo" | cut -d+ -f3)"
    import -window root "$shot"
    local bx=$((x + w / 10)) by=$((y + h * 30 / 100)) bw=$((w * 8 / 10)) bh=$((h * 58 / 100))
    convert "$shot" -crop "${bw}x${bh}+${bx}+${by}" +repage -depth 8 txt:- | awk -F'[(),]+' '
        NR > 1 {
            r = $3 + 0; g = $4 + 0; b = $5 + 0
            if (r + g + b > 30) lit++
            if (r >= 60 && g <= 20 && b <= 20) next # red, not the pink grid
            if (g >= 60 && r <= 30 && b <= 30) green++
            else if (r >= 60 && g >= 15 && r >= g + 40 && g - b <= 10 && b - g <= 10) pink++
        }
        END { printf "%d %d %d\n", green, pink, lit }'
}

# Waits until the picture shows the cube, then prints its colour counts.
wait_picture() {
    local name="$1" c=""
    for _ in $(seq 30); do
        c="$(colours "$shots/$scenario-$name.png")"
        set -- $c
        if [ "$3" -gt 5000 ]; then break; fi
        sleep 0.5
    done
    echo "$name: green pink lit = $c" >&2
    echo "$c"
}

# Picture $1 shows the cube, and the grid (over $2 pink pixels) or not (hidden).
look() {
    local green pink lit
    read -r green pink lit <<<"$(wait_picture "$1")"
    [ "$lit" -gt 5000 ] || fail "$1: picture is (nearly) black"
    [ "$green" -gt 15 ] || fail "$1: no layer marker"
    if [ "$2" = hidden ]; then [ "$pink" -lt 50 ] || fail "$1: the grid shows"
    else [ "$pink" -gt "$2" ] || fail "$1: no floor grid"; fi
}
expect_window() { # size when
    local geo
    geo="$(geometry)"
    echo "window $geo $2"
    [ "$geo" = "$1+0+0" ] || fail "window $2 is $geo, not $1 at 0,0"
}

xd_run "$build/cube-solver"
case "$scenario" in
fallback | fullscreen)
    answer "Start FullScreen?" Return
    answer "Start In A Soft Mode?" Escape
    if [ "$scenario" = fallback ]; then answer "Qavo GL" Return; fi
    expect_window 1024x768 "at start"
    look start 3000
    press g
    sleep 1
    look no-grid hidden
    press F1
    if [ "$scenario" = fallback ]; then answer "Qavo GL" Return; fi
    sleep 1
    expect_window 1024x768 "after F1"
    look after-F1 hidden # the marker (a new display list) and the grid setting stay
    press Escape
    ;;
soft)
    answer "Start FullScreen?" Escape
    answer "Start In A Soft Mode?" Return
    expect_window 640x480 "at start"
    look start 1000
    # Full screen at 640x480 is not offered: refusing the window ends it.
    press F1
    answer "Qavo GL" Escape
    answer "ERROR" Return
    ;;
*) fail "unknown scenario" ;;
esac

set +e
wait "$pid"
code=$?
set -e
pid=""
cat "$work/err.txt" >&2
[ "$code" -eq 0 ] || fail "exit code $code"
echo "$scenario: exit code 0"
