#!/usr/bin/env bash
# The window's pictures with only the original keys pressed, from two builds:
# the same key taps (mixes, turns, solves of every entry, pause) on
# each, a picture of the cube once it has come to rest after each, and the
# pictures compared pixel for pixel. The clock and FPS lines are outside the
# area compared (they differ from run to run), and the keys that turn the view
# while held are left out: how far they turn depends on the frames a tap lasts.
# usage: scripts/compare_pictures.sh BUILD REFERENCE_BUILD [SHOTS_DIR]
set -euo pipefail
if [ "${2:-}" != inner ]; then
    new="$(cd "${1:?build directory}" && pwd)"
    old="$(cd "${2:?reference build directory}" && pwd)"
    shots="${3:-$(mktemp -d)}"
    mkdir -p "$shots"
    for side in new old; do
        dir="$new"; [ "$side" = old ] && dir="$old"
        xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$dir" inner "$shots/$side"
    done
    differ=0
    for f in "$shots"/new/*.png; do
        n="$(compare -metric AE "$f" "$shots/old/$(basename "$f")" null: 2>&1 || true)"
        [ "$n" = 0 ] || { echo "DIFFERS: $(basename "$f"): $n pixels"; differ=$((differ + 1)); }
    done
    echo "$(ls "$shots"/new/*.png | wc -l) pictures compared, $differ differ ($shots)"
    [ "$differ" -eq 0 ]
    exit
fi
build="$1" shots="$3"
mkdir -p "$shots"
export SDL_VIDEODRIVER=x11 LIBGL_ALWAYS_SOFTWARE=1
xd_name="compare_pictures.sh"
# shellcheck source=xdrive.sh
source "$(dirname "$0")/xdrive.sh"
cd "$work"
area=1024x640+0+128 # all but the top lines (clock, FPS)
still() { wait_still "$area" "$shots/$1.png"; }
tap() { press "$1" 0.1; sleep 0.3; }

xd_run "$build/cube-solver"
answer "Start FullScreen?" Escape
answer "Start In A Soft Mode?" Escape
wait_window "$xd_title" >/dev/null
still 00-start
n=1
for entry in 0 1 2 3 4 6 5; do
    tap r; still "$n-$entry-mixed"
    tap Up; tap Down; tap Down; still "$n-$entry-turned"
    tap "$entry"; still "$n-$entry-solved"
    n=$((n + 1))
done
tap g; tap u; tap p; sleep 0.5
shot 1024x480+0+288 "$shots/90-paused.png" # below the blinking PAUSE banner
press Escape
wait "$pid" || true
pid=""
