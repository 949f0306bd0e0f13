# Driving cube-solver on a virtual X server with xdotool, shared by
# scripts/demo.sh and the end-to-end tests. Source it, set xd_name (the name
# messages start with), start the program with xd_run, then answer its boxes,
# press keys and take pictures. Needs xwininfo, xdotool and ImageMagick.
# shellcheck shell=bash

xd_title="OpenGL WinAPI template by Velmostin K.T."
xd_name="${xd_name:-xdrive}"
pid=""
work="$(mktemp -d /tmp/cube-xdrive-XXXXXX)"
export LIBGL_ALWAYS_SOFTWARE=1

xd_cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap xd_cleanup EXIT

fail() {
    echo "$xd_name: FAIL: $*" >&2
    if [ -s "$work/err.txt" ]; then
        echo "--- cube-solver's standard error:" >&2
        cat "$work/err.txt" >&2
    fi
    exit 1
}

# Starts the program ($1, further words its arguments) in $work; its output
# goes to $work/out.txt and $work/err.txt.
xd_run() {
    (cd "$work" && exec timeout 300 "$@" >"$work/out.txt" 2>"$work/err.txt") &
    pid=$!
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
# window alone, and goes again only when the box is still there long after
# (a key sent before the box takes input is lost).
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

# Holds key $1 down for $2 seconds (default 0.4, long enough for several
# frames) in the program's window. Up to a quarter of a second is a tap: one
# action; held longer, the arrow keys repeat.
press() {
    local id
    id="$(wait_window "$xd_title")"
    for _ in $(seq 50); do viewable "$id" && break; sleep 0.2; done
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool keydown "$1"
    sleep "${2:-0.4}"
    xdotool keyup "$1"
}

# WIDTHxHEIGHT+X+Y of the program's window.
geometry() {
    xwininfo -id "$(wait_window "$xd_title")" | awk '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF} END {print w "x" h "+" x "+" y}'
}

# Picture $2 of the screen, cropped to $1 (WIDTHxHEIGHT+X+Y).
shot() { import -window root -crop "$1" +repage "$2"; }
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# Waits until the area $1 of the screen stops changing (three equal pictures
# in a row, half a second apart); the last is left in $2.
wait_still() {
    local still=0 prev="$work/still-prev.png"
    shot "$1" "$prev"
    for _ in $(seq 600); do
        sleep 0.5
        shot "$1" "$2"
        if [ "$(differing "$2" "$prev")" = "0" ]; then
            still=$((still + 1))
            [ "$still" -ge 3 ] && return 0
        else
            still=0
        fi
        cp "$2" "$prev"
    done
    fail "the picture never came to rest"
}

# Ends the run with ESC; fails unless it exits with code 0.
xd_quit() {
    press Escape
    set +e
    wait "$pid"
    local code=$?
    set -e
    pid=""
    [ "$code" -eq 0 ] || fail "exit code $code"
}
