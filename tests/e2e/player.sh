#!/usr/bin/env bash
# cube-solver's player keys end to end, on an X server of its own, through the
# real keyboard: after a mix, Home shows the cube the mix started from and End
# the mixed one again; three steps back and three on give the mixed cube; the
# help overlay takes G (the grid stays) until a key closes it, and that key
# does nothing else; Ctrl+Z undoes the mix. Pictures compare pixel for pixel.
# Screenshots stay in <build-dir>/e2e-player.
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

# Picture $1 of the cube, once it has come to rest.
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

for _ in 1 2 3; do tap comma; done
still back3
expect_differ back3 mixed
for _ in 1 2 3; do tap period; done
still on3
expect_same on3 mixed

tap h
tap g # taken by the help: closes it, the grid stays
still help-g
expect_same help-g mixed
tap g # now the grid goes
still no-grid
expect_differ no-grid mixed
tap g

xdotool keydown ctrl
tap z
xdotool keyup ctrl
sleep 1
still undone
expect_same undone start

press Escape
set +e
wait "$pid"
code=$?
set -e
pid=""
[ "$code" -eq 0 ] || fail "exit code $code"
echo "player.sh: Home, End, steps, help and undo as expected; exit code 0"
