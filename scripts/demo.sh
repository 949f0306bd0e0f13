#!/usr/bin/env bash
# Runs cube-solver on its own virtual X server and takes pictures of a mix and
# a solve: out/demo/start.png, mixed.png, mid-solve.png, paused.png (with the
# blinking PAUSE banner), solved.png and solve.gif (the solve, animated).
# The start-up questions are answered No and No: a 1024 x 768 window.
# Usage: scripts/demo.sh [build-dir]   (default: build; built when missing)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"

if [ -z "${CUBE_DEMO_INNER:-}" ]; then
    if [ ! -x "$build/cube-solver" ]; then
        cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
        cmake --build "$build" -j"$(nproc)" --target cube-solver
    fi
    export CUBE_DEMO_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$(cd "$build" && pwd)"
fi

xd_name=demo.sh
# shellcheck source=xdrive.sh
source "$root/scripts/xdrive.sh"
out="$root/out/demo"
mkdir -p "$out"
cd "$work"
screen=1024x768+0+0
cube=420x360+300+290

# Mean brightness of the banner's place (pen 375, 500 from the bottom left).
banner_light() { convert "$1" -crop 300x90+360+200 +repage -format "%[fx:mean]" info:; }
# How many of three pictures, 0.3 s apart, show the banner; the last is left
# in pause-check.png.
banner_count() {
    local lit=0
    for _ in 1 2 3; do
        sleep 0.3
        shot "$screen" pause-check.png
        [ "$(banner_light pause-check.png)" != "0" ] && lit=$((lit + 1))
    done
    echo "$lit"
}
# Taps P once (a tap is one toggle) and checks that the banner shows ($1 = on)
# or stays dark ($1 = off).
tap_pause() {
    press p 0.1
    local n
    n="$(banner_count)"
    if { [ "$1" = on ] && [ "$n" -gt 0 ]; } || { [ "$1" = off ] && [ "$n" -eq 0 ]; }; then
        return 0
    fi
    fail "the banner did not turn $1"
}

xd_run "$build/cube-solver"
answer "Start FullScreen?" Escape    # No: windowed
answer "Start In A Soft Mode?" Escape # No: 1024 x 768, the HUD shifted
wait_window "$xd_title" >/dev/null

wait_still "$cube" still.png
shot "$screen" "$out/start.png"
press r 0.3
sleep 1
wait_still "$cube" still.png
shot "$screen" "$out/mixed.png"

press 0 0.3
# The solve, pictures as fast as they can be taken (a few a second); the cube
# area is looked at every fifth to see when it has come to rest.
mkdir -p gif
n=0
still=0
shot "$cube" prev.png
while [ "$n" -lt 600 ]; do
    n=$((n + 1))
    frame="gif/$(printf %04d "$n").miff"
    shot "$screen" "$frame"
    if [ "$n" -eq 6 ]; then convert "$frame" "$out/mid-solve.png"; fi
    if [ "$n" -eq 12 ]; then
        # Pause half way; the banner blinks, so keep a picture that shows it.
        tap_pause on
        for _ in $(seq 10); do
            [ "$(banner_light pause-check.png)" != "0" ] && break
            sleep 0.2
            shot "$screen" pause-check.png
        done
        cp pause-check.png "$out/paused.png"
        tap_pause off
    fi
    if [ $((n % 5)) -eq 0 ]; then
        shot "$cube" now.png
        if [ "$(differing now.png prev.png)" = "0" ]; then
            still=$((still + 1))
            [ "$still" -ge 3 ] && break
        else
            still=0
        fi
        cp now.png prev.png
    fi
done
shot "$screen" "$out/solved.png"
for frame in gif/*.miff; do
    convert "$frame" -resize 512x384 "${frame%.miff}.png"
    rm "$frame"
done
convert -delay 25 -loop 0 gif/*.png -layers Optimize "$out/solve.gif"
echo "demo.sh: $n pictures of the solve; pictures in $out:"
ls -l "$out"
