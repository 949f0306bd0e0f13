#!/usr/bin/env bash
# Start-up end to end, each scenario with its own X server and home: nofonts
# (no question shown: a 1024x768 window), remember (the settings file),
# desktop (text files in $XDG_STATE_HOME/cube-solver).
set -euo pipefail

build="$(cd "${1:?usage: startup.sh <build-dir>}" && pwd)"
export SDL_VIDEODRIVER=x11

if [ $# -lt 2 ]; then
    status=0
    nofonts="$(mktemp -d)"
    for scenario in nofonts remember desktop; do
        echo "=== $scenario"
        fonts=()
        [ "$scenario" = nofonts ] && fonts=(-fp "$nofonts")
        if ! xvfb-run -a -s "-screen 0 1280x1024x24 -noreset ${fonts[*]}" \
            bash "$0" "$build" "$scenario"; then
            echo "=== $scenario FAILED"
            status=1
        fi
    done
    rm -rf "$nofonts"
    exit "$status"
fi

scenario="$2"
xd_name="startup.sh ($scenario)"
# shellcheck source=../../scripts/xdrive.sh
source "$(dirname "$0")/../../scripts/xdrive.sh"
export HOME="$work/home"
unset XDG_CONFIG_HOME XDG_STATE_HOME
mkdir -p "$HOME"
settings="$HOME/.config/cube-solver/settings.conf"

expect_window() { # size when
    local geo
    geo="$(geometry)"
    echo "window $geo $2"
    [ "$geo" = "$1+0+0" ] || fail "window $2 is $geo, not $1 at 0,0"
}
no_question() {
    [ -z "$(window_id "Start FullScreen?")" ] && [ -z "$(window_id "Start In A Soft Mode?")" ] ||
        fail "a start-up question was asked $1"
}

case "$scenario" in
nofonts)
    xd_run "$build/cube-solver"
    wait_window "$xd_title" >/dev/null
    sleep 1
    expect_window 1024x768 "when no question could be shown"
    grep -qxF "cube-solver: could not ask the start-up questions; starting in a 1024x768 window" \
        "$work/err.txt" || fail "no word of the questions that could not be asked"
    xd_quit
    ;;
remember)
    xd_run "$build/cube-solver" --window --soft --remember
    wait_window "$xd_title" >/dev/null
    no_question "with --window --soft"
    expect_window 640x480 "with --window --soft"
    xd_quit
    [ "$(grep -E '^(fullscreen|soft) =' "$settings")" = "$(printf 'fullscreen = no\nsoft = yes')" ] ||
        fail "settings file: $(cat "$settings" 2>&1)"
    xd_run "$build/cube-solver"
    wait_window "$xd_title" >/dev/null
    no_question "with the answers in the settings file"
    expect_window 640x480 "with the answers in the settings file"
    xd_quit
    [ ! -s "$work/err.txt" ] || fail "unexpected messages: $(cat "$work/err.txt")"
    ;;
desktop)
    export XDG_STATE_HOME="$work/state"
    xd_run "$build/cube-solver" --desktop --window
    wait_window "$xd_title" >/dev/null
    cube=420x360+300+290
    press r 0.3
    sleep 1
    wait_still "$cube" "$work/still.png"
    press KP_1 0.2
    for _ in $(seq 50); do
        [ -s "$XDG_STATE_HOME/cube-solver/kub2.txt" ] && break
        sleep 0.2
    done
    xd_quit
    [ -s "$XDG_STATE_HOME/cube-solver/kub2.txt" ] && [ -f "$XDG_STATE_HOME/cube-solver/Kyb.txt" ] ||
        fail "no text files in the state folder after a solve from the keypad"
    [ ! -e "$work/kub2.txt" ] && [ ! -e "$work/Kyb.txt" ] || fail "text files in the working folder"
    ;;
*) fail "unknown scenario" ;;
esac
echo "$scenario: passed"
