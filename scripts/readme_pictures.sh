#!/usr/bin/env bash
# Makes the README's pictures from real runs of the current cube-solver on a
# virtual X server, 1024 x 768 in a window (--window, in a home folder of its
# own, so that no settings file of yours changes the run):
#   docs/face-letters.png  the start view, its faces lettered U F R (L B D)
#   docs/mid-solve.png     the Base routine solving the first mix
#   docs/paused.png        the same solve paused, the banner showing
#   docs/own-cube.png      a cube given with --state, solved stage by stage
# The pictures are stored with a small palette to keep them small.
# Usage: scripts/readme_pictures.sh [build-dir]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"

if [ -z "${CUBE_PICTURES_INNER:-}" ]; then
    [ -x "$build/cube-solver" ] || { echo "readme_pictures.sh: build cube-solver first" >&2; exit 1; }
    export CUBE_PICTURES_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$(cd "$build" && pwd)"
fi

xd_name=readme_pictures.sh
# shellcheck source=xdrive.sh
source "$root/scripts/xdrive.sh"
export HOME="$work/home"
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
docs="$root/docs"
cd "$work"
screen=1024x768+0+0
cube=420x360+300+290
# The cube of the README's "Solving your own cube".
own=FURRURBBBDBBDRFUDUULRUFRFFLRRFDDFLLFDULULFBBDUBLLBLRDD

# Stores picture $1 as $2 with a palette of 64 colours.
keep() { convert "$1" -dither None -colors 64 -strip "PNG8:$2"; }
# Mean brightness of the banner's place.
banner_light() { convert "$1" -crop 300x90+360+200 +repage -format "%[fx:mean]" info:; }
quit() {
    press Escape 0.2
    wait "$pid" || fail "cube-solver ended with an error"
    pid=""
}

# The start view, lettered.
xd_run "$build/cube-solver" --window
wait_window "$xd_title" >/dev/null
wait_still "$cube" still.png
shot 500x380+262+310 start.png
font="$(fc-match -f '%{file}' 'Liberation Sans:bold')"
convert start.png -font "$font" -pointsize 34 -fill white -stroke black -strokewidth 1 \
    -annotate +236+82 U -annotate +170+232 F -annotate +303+232 R \
    -pointsize 22 -fill '#dddddd' -annotate +14+162 'L (behind)' \
    -annotate +360+162 'B (behind)' -annotate +196+372 'D (below)' lettered.png
keep lettered.png "$docs/face-letters.png"

# The first mix, solved by the Base routine; paused half way.
press r 0.3
sleep 1
wait_still "$cube" still.png
press 0 0.2
sleep 0.6
shot "$screen" mid.png
keep mid.png "$docs/mid-solve.png"
press p 0.1
lit=""
for _ in $(seq 40); do
    sleep 0.1
    shot "$screen" paused.png
    if [ "$(banner_light paused.png)" != "0" ]; then lit=1; break; fi
done
[ -n "$lit" ] || fail "the pause banner never showed"
keep paused.png "$docs/paused.png"
quit

# A cube given as a state string, while the cross is being solved.
xd_run "$build/cube-solver" --window --state "$own"
wait_window "$xd_title" >/dev/null
wait_still "$cube" still.png
press 0 0.2
sleep 0.5
shot "$screen" own.png
keep own.png "$docs/own-cube.png"
quit
echo "readme_pictures.sh: pictures in $docs:"
ls -l "$docs"
