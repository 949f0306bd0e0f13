#!/usr/bin/env bash
# The player keys through the real keyboard: after a mix, Home and End show
# the start and the mixed cube, Ctrl+Z undoes the mix (shots: e2e-player).
set -euo pipefail

build="$(cd "${1:?usage: player.sh <build-dir>}" && pwd)"
export SDL_VIDEODRIVER=x11
shots="$build/e2e-player"
if [ $# -lt 2 ]; then
    mkdir -p "$shots"
    rm -f "$shots"/*.png
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$build" inner
fi

xd_name="player.sh"
# shellcheck source=../../scripts/xdrive.sh
source "$(dirname "$0")/../../scripts/xdrive.sh"
cube=420x360+300+290 # the cube and the grid around it, below the PAUSE banner

still() { wait_still "$cube" "$shots/$1.png"; }
same() { [ "$(differing "$shots/$1.png" "$shots/$2.png")" = "0" ]; }
expect_same() { same "$1" "$2" || fail "$1 is not the picture $2 ($(differing "$shots/$1.png" "$shots/$2.png") pixels differ)"; }
expect_differ() { same "$1" "$2" && fail "$1 is still the picture $2"; true; }
tap() { press "$1" 0.1; sleep 0.3; }

xd_run "$build/cube-solver"
answer "Start FullScreen?" Escape
answer "Start In A Soft Mode?" Escape
wait_window "$xd_title" >/dev/null
still start
tap r
sleep 1
still mixed
expect_differ mixed start

tap Home
still home
expect_same home start
tap End
still end
expect_same end mixed

xdotool keydown ctrl
tap z
xdotool keyup ctrl
sleep 1
still undone
expect_same undone start

xd_quit
echo "player.sh: Home, End and undo as expected; exit code 0"
