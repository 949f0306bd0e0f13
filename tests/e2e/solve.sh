#!/usr/bin/env bash
# End to end: the real cube-solver on its own X server, driven with xdotool,
# windowed at 640 x 480; R mixes, 0 solves, R again, 5 (Quick) solves. After
# each solve the cube area must be the start picture up to the colour of each
# face (a solve may leave the centres elsewhere): every start colour became
# one colour only, where a mixed cube turns some start colour into two.
set -euo pipefail
build="$(cd "${1:?usage: solve.sh <build-dir>}" && pwd)"
if [ -z "${CUBE_E2E_INNER:-}" ]; then
    export CUBE_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$build"
fi
xd_name=solve.sh
# shellcheck source=../../scripts/xdrive.sh
source "$(dirname "$0")/../../scripts/xdrive.sh"
cd "$work"
cube=300x230+170+200 # the cube with its layer marker

# A picture's pixels as colour classes, one a line: which of red, green and
# blue is lit (a face's colour under any light; shading drops out).
classes() {
    convert "$1" txt:- | tail -n +2 | awk '{ gsub(/[()]/, "", $2); split($2, c, ",");
        print (c[1] > 48 ? "R" : "-") (c[2] > 48 ? "G" : "-") (c[3] > 48 ? "B" : "-") }'
}
# "yes" when every colour class of picture $1 became one class only in $2
# (pixels that kept their class are left out: the marker stays put while the
# faces around it change), else the first clash.
recoloured() {
    paste -d' ' <(classes "$1") <(classes "$2") |
        awk '$1 != $2 { if (($1 in to) && to[$1] != $2) { print "no: " $1 " became " to[$1] " and " $2; exit }
                        to[$1] = $2; changed++ }
             END { if (changed > 0) print "yes (" changed " pixels changed colour)" }' | head -1 || true
}
# Mixes, solves with key $1 and checks the solved picture against the start.
mix_and_solve() {
    press r
    sleep 1
    wait_still "$cube" mixed.png
    [ "$(differing start.png mixed.png)" != "0" ] || fail "the mix did not change the cube"
    echo "mixed picture a recolouring of the start: $(recoloured start.png mixed.png)"
    press "$1"
    sleep 1
    wait_still "$cube" "solved-$1.png"
    kill -0 "$pid" || fail "the program ended"
    local verdict
    verdict="$(recoloured start.png "solved-$1.png")"
    echo "after the solve with $1, a recolouring of the start: $verdict"
    if [ "${verdict%% *}" != "yes" ]; then
        keep="$(mktemp -d /tmp/cube-e2e-fail-XXXXXX)"
        cp ./*.png "$keep/"
        fail "the solve with $1 did not solve the cube (pictures in $keep)"
    fi
}

xd_run "$build/cube-solver"
answer "Start FullScreen?" Escape   # No: windowed
answer "Start In A Soft Mode?" Return # Yes: 640 x 480
wait_window "$xd_title" >/dev/null
wait_still "$cube" start.png
mix_and_solve 0
mix_and_solve 5
echo "solve.sh: mixed and solved with 0, mixed and solved with 5"
