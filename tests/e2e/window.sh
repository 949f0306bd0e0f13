#!/usr/bin/env bash
# cube-solver end to end, under X servers of its own: answers the two start-up
# questions (and the full-screen refusal where it comes), looks at the picture
# (cube colours, layer marker, floor grid), presses G, F1 and ESC and checks
# the exit code. Three runs:
#   fallback   - 1280x1024 screen; full screen Yes, soft mode No: 1024x768 full
#                screen is not offered there, so the program asks and goes on
#                in a 1024x768 window; F1 asks again.
#   fullscreen - 1024x768 screen; full screen Yes, soft mode No: full screen at
#                1024x768; F1 gives the window.
#   soft       - 1280x1024 screen; full screen No, soft mode Yes: a 640x480
#                window; G twice; F1 asks about full screen, No closes it.
# Before them, a run with no display at all must fail with its message on
# standard error.
# Usage: window.sh <build-dir>. Screenshots stay in <build-dir>/e2e-window.
set -euo pipefail

build="$(cd "${1:?usage: window.sh <build-dir>}" && pwd)"
export LIBGL_ALWAYS_SOFTWARE=1 SDL_VIDEODRIVER=x11
shots="$build/e2e-window"

if [ $# -lt 2 ]; then
    mkdir -p "$shots"
    rm -f "$shots"/*.png
    status=0

    # With no display at all the questions and the failure go to standard
    # error and the exit code says it failed.
    echo "=== no display"
    set +e
    said="$(cd "$(mktemp -d)" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
        timeout 60 "$build/cube-solver" 2>&1 </dev/null)"
    code=$?
    set -e
    echo "$said"
    if [ "$code" -eq 0 ] || [ "$code" -eq 124 ] ||
        ! grep -q "Would You Like To Run In Fullscreen Mode?" <<<"$said" ||
        ! grep -q "Would You Like To Run In A Soft Mode?" <<<"$said" ||
        ! grep -q "Failed To Register The Window Class." <<<"$said"; then
        echo "=== no display FAILED (exit code $code)"
        status=1
    fi

    for scenario in fallback fullscreen soft; do
        screen=1280x1024x24
        [ "$scenario" = fullscreen ] && screen=1024x768x24
        echo "=== $scenario (screen $screen)"
        # -noreset: the server must not reset whenever its last client leaves
        # (the questions' boxes come and go), or a box may find no server.
        if ! xvfb-run -a -s "-screen 0 $screen -noreset" bash "$0" "$build" "$scenario"; then
            echo "=== $scenario FAILED"
            status=1
        fi
    done
    exit "$status"
fi

scenario="$2"
title="OpenGL WinAPI template by Velmostin K.T."
work="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL ($scenario): $*" >&2
    if [ -s "$work/err.txt" ]; then
        echo "--- cube-solver's standard error:" >&2
        cat "$work/err.txt" >&2
    fi
    exit 1
}

# X window id of the top-level window whose title is exactly $1 (empty if none).
window_id() {
    local tree
    tree="$(xwininfo -root -tree 2>/dev/null || true)"
    awk -v t="\"$1\":" 'index($0, t) && !found {print $1; found = 1}' <<<"$tree"
}
wait_window() {
    local id=""
    for _ in $(seq 150); do
        id="$(window_id "$1")"
        [ -n "$id" ] && break
        sleep 0.2
    done
    [ -n "$id" ] || fail "no window \"$1\""
    echo "$id"
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable"; }
# Presses $2 in the message box captioned $1. The key goes to that box's
# window alone, and goes again only when the box is still there long after.
answer() {
    local id="" tries=0
    for _ in $(seq 100); do
        id="$(window_id "$1")"
        if [ -n "$id" ] && viewable "$id"; then
            xdotool key --window "$id" "$2"
            tries=$((tries + 1))
            for _ in $(seq 60); do
                sleep 0.25
                if [ -z "$(window_id "$1")" ]; then
                    echo "box \"$1\": $2"
                    return 0
                fi
            done
            [ "$tries" -lt 3 ] || break
        else
            sleep 0.2
        fi
    done
    xwininfo -root -tree >&2 || true
    fail "could not answer the box \"$1\" (last id: ${id:-none})"
}
# Holds key $1 down long enough for a frame to see it.
press() {
    local id
    id="$(wait_window "$title")"
    for _ in $(seq 50); do viewable "$id" && break; sleep 0.2; done
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool keydown "$1"
    sleep 0.4
    xdotool keyup "$1"
}
geometry() { # WIDTHxHEIGHT+X+Y of the program's window
    xwininfo -id "$(wait_window "$title")" | awk '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF} END {print w "x" h "+" x "+" y}'
}

# Counts of the colours that matter in the middle band of the window (below
# the text lines at the top, above the line at the bottom): the cube's red,
# yellow and white sides, the green marker, the pink floor grid, and all
# non-black pixels. Prints "red yellow white green pink lit".
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
            hi = r; if (g > hi) hi = g; if (b > hi) hi = b
            lo = r; if (g < lo) lo = g; if (b < lo) lo = b
            if (r + g + b > 30) lit++
            if (r >= 60 && g <= 20 && b <= 20) red++
            else if (r >= 60 && g >= 60 && b <= 20 && r - g <= 20 && g - r <= 20) yellow++
            else if (lo >= 60 && hi - lo <= 20) white++
            else if (g >= 60 && r <= 30 && b <= 30) green++
            else if (r >= 60 && g >= 15 && r >= g + 40 && g - b <= 10 && b - g <= 10) pink++
        }
        END { printf "%d %d %d %d %d %d\n", red, yellow, white, green, pink, lit }'
}

# Waits until the picture shows the cube (red and yellow sides), then prints
# its colour counts.
wait_picture() {
    local name="$1" c=""
    for _ in $(seq 30); do
        c="$(colours "$shots/$scenario-$name.png")"
        set -- $c
        if [ "$1" -gt 500 ] && [ "$2" -gt 500 ]; then break; fi
        sleep 0.5
    done
    echo "$name: red yellow white green pink lit = $c" >&2
    echo "$c"
}

check_cube() { # counts name
    local red yellow white green pink lit
    read -r red yellow white green pink lit <<<"$1"
    [ "$lit" -gt 5000 ] || fail "$2: picture is (nearly) black"
    [ "$red" -gt 3000 ] || fail "$2: no red +x side"
    [ "$yellow" -gt 3000 ] || fail "$2: no yellow +z side"
    [ "$white" -gt 100 ] || fail "$2: no white top"
    [ "$green" -gt 15 ] || fail "$2: no layer marker"
}
grid_of() { echo "$1" | awk '{print $5}'; }

cd "$work"
timeout 180 "$build/cube-solver" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!

case "$scenario" in
fallback | fullscreen)
    answer "Start FullScreen?" Return
    answer "Start In A Soft Mode?" Escape
    if [ "$scenario" = fallback ]; then answer "Qavo GL" Return; fi
    wait_window "$title" >/dev/null
    geo="$(geometry)"
    echo "window $geo"
    case "$geo" in 1024x768+0+0) ;; *) fail "window is $geo, not 1024x768 at 0,0" ;; esac

    start="$(wait_picture start)"
    check_cube "$start" start
    [ "$(grid_of "$start")" -gt 3000 ] || fail "no floor grid at start"

    press g
    sleep 1
    nogrid="$(wait_picture no-grid)"
    check_cube "$nogrid" "after G"
    [ "$(grid_of "$nogrid")" -lt 50 ] || fail "grid still shown after G"

    press F1
    if [ "$scenario" = fallback ]; then answer "Qavo GL" Return; fi
    sleep 1
    geo="$(geometry)"
    echo "after F1: window $geo"
    case "$geo" in 1024x768+0+0) ;; *) fail "after F1 the window is $geo" ;; esac
    again="$(wait_picture after-F1)"
    check_cube "$again" "after F1"
    [ "$(grid_of "$again")" -lt 50 ] || fail "the grid came back after F1"

    press Escape
    ;;
soft)
    answer "Start FullScreen?" Escape
    answer "Start In A Soft Mode?" Return
    wait_window "$title" >/dev/null
    geo="$(geometry)"
    echo "window $geo"
    case "$geo" in 640x480+0+0) ;; *) fail "window is $geo, not 640x480 at 0,0" ;; esac

    start="$(wait_picture start)"
    check_cube "$start" start
    [ "$(grid_of "$start")" -gt 1000 ] || fail "no floor grid at start"
    press g
    sleep 1
    [ "$(grid_of "$(wait_picture no-grid)")" -lt 50 ] || fail "grid still shown after G"
    press g
    sleep 1
    [ "$(grid_of "$(wait_picture grid-again)")" -gt 1000 ] || fail "grid not back after G twice"

    # Full screen at 640x480 is not offered: refusing the window ends the
    # program.
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
