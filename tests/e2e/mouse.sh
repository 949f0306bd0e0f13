#!/usr/bin/env bash
# The mouse end to end through the real pointer: a sticker dragged gives U'
# (shots: e2e-mouse).
set -euo pipefail

build="$(cd "${1:?usage: mouse.sh <build-dir>}" && pwd)"
export SDL_VIDEODRIVER=x11
shots="$build/e2e-mouse"
if [ $# -lt 2 ]; then
    command -v xclip >/dev/null || { echo "mouse.sh: needs xclip (scripts/setup.sh)"; exit 1; }
    mkdir -p "$shots"
    rm -f "$shots"/*.png
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$build" inner
fi

xd_name="mouse.sh"
# shellcheck source=../../scripts/xdrive.sh
source "$(dirname "$0")/../../scripts/xdrive.sh"
export XDG_CONFIG_HOME="$work/config"

# The cube's state as Ctrl+C copies it.
state() {
    xdotool keydown ctrl
    sleep 0.2
    xdotool key c
    sleep 0.2
    xdotool keyup ctrl
    sleep 0.3
    xclip -o -selection clipboard
}
# A drag from ($1, $2) to ($3, $4) in twelve steps, shot $5 taken while held.
drag() {
    local i
    xdotool mousemove $((ox + $1)) $((oy + $2)) mousedown 1
    sleep 0.2
    for i in $(seq 12); do
        xdotool mousemove $((ox + $1 + ($3 - $1) * i / 12)) $((oy + $2 + ($4 - $2) * i / 12))
        sleep 0.05
    done
    sleep 0.3
    shot "$area" "$shots/$5.png"
    xdotool mouseup 1
    sleep 1
}

xd_run "$build/cube-solver" --window --look clear
id="$(wait_window "$xd_title")"
for _ in $(seq 50); do viewable "$id" && break; sleep 0.2; done
xdotool windowfocus --sync "$id" 2>/dev/null || true
geo="$(geometry)"
ox="$(echo "$geo" | cut -d+ -f2)"
oy="$(echo "$geo" | cut -d+ -f3)"
area="480x500+$((ox + 270))+$((oy + 190))" # the cube, not the HUD's clock
wait_still "$area" "$shots/start.png"

solved="$("$build/cube-solve" --show-state)"
after="$("$build/cube-solve" --scramble "U'" --show-state)"
[ "$(state)" = "$solved" ] || fail "the start cube is not the solved one on the clipboard"

# F's top middle sticker near (391, 350), R's near (625, 330).
drag 391 350 625 330 top-drag
wait_still "$area" "$shots/top-turned.png"
got="$(state)"
[ "$got" = "$after" ] || fail "the drag did not give U' ($after)"

xd_quit
echo "mouse.sh: a drag turned U'"
