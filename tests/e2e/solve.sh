#!/usr/bin/env bash
# End to end: the real cube-solver on its own virtual X server, driven with
# xdotool. It answers the two start-up questions (windowed, 640 x 480), mixes
# the cube with R and solves it with 0, then mixes again and solves with 5
# (Quick). After each solve the cube area of the picture must show the cube
# solved the way it stood at the start, up to the colour of each face: the
# Base algorithm solves around the face centres as the mix left them (the mix
# turns middle layers too, so the cube may end turned as a whole), and Quick
# turns the view on its way. So every colour of the start picture must have
# become one colour only: a mixed cube, or a single wrong sticker, shows some
# start colour turned into two. Only the cube area is compared: the HUD's
# clock and frame-rate lines change.
set -euo pipefail

build="$(cd "${1:?usage: solve.sh <build-dir>}" && pwd)"
program="$build/cube-solver"
[ -x "$program" ] || { echo "solve.sh: no $program"; exit 1; }

if [ -z "${CUBE_E2E_INNER:-}" ]; then
  export CUBE_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$build"
fi

export LIBGL_ALWAYS_SOFTWARE=1
work="$(mktemp -d /tmp/cube-e2e-XXXXXX)"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

# The id of the top-level window whose title starts with $1, or nothing.
window_id() { xwininfo -root -tree | grep -F "\"$1" | awk '{print $1}' | head -1; }
wait_window() {
  local id=""
  for _ in $(seq 100); do
    id="$(window_id "$1")"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "solve.sh: no window \"$1\"" >&2
  return 1
}
# Answers a question box with a key once it shows; the key goes again while
# the box stays (a key sent before the box takes input is lost).
answer() {
  local id
  id="$(wait_window "$1")"
  for _ in $(seq 20); do
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool key "$2"
    for _ in $(seq 10); do
      [ -n "$(window_id "$1")" ] || return 0
      sleep 0.1
    done
  done
  echo "solve.sh: the box \"$1\" would not take the answer" >&2
  return 1
}
# A key held long enough for several frames to see it.
press() {
  xdotool keydown "$1"
  sleep 0.3
  xdotool keyup "$1"
}
# The cube area of the window (the cube with its layer marker).
cube_area() { import -window root -crop 300x230+170+200 +repage "$1"; }
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
# A picture's pixels as colour classes, one a line: which of red, green and
# blue is lit (a face's colour under any light; shading drops out).
classes() {
  convert "$1" txt:- | tail -n +2 | awk '{ gsub(/[()]/, "", $2); split($2, c, ",");
    print (c[1] > 48 ? "R" : "-") (c[2] > 48 ? "G" : "-") (c[3] > 48 ? "B" : "-") }'
}
# "yes" when every colour class of picture $1 became one class only in
# picture $2 (pixels that kept their class are left out: the layer marker
# stays put while the faces around it change), else the first clash.
recoloured() {
  paste -d' ' <(classes "$1") <(classes "$2") |
    awk '$1 != $2 { if (($1 in to) && to[$1] != $2) { print "no: " $1 " became " to[$1] " and " $2; exit }
                    to[$1] = $2; changed++ }
         END { if (changed > 0) print "yes (" changed " pixels changed colour)" }' | head -1 || true
}
# Waits until the cube area stops changing (three equal pictures in a row,
# half a second apart); the last is left in $1.
wait_still() {
  local still=0 prev="$work/prev.png"
  cube_area "$prev"
  for _ in $(seq 400); do
    sleep 0.5
    cube_area "$1"
    if [ "$(differing "$1" "$prev")" = "0" ]; then
      still=$((still + 1))
      [ "$still" -ge 3 ] && return 0
    else
      still=0
    fi
    cp "$1" "$prev"
  done
  echo "solve.sh: the cube never came to rest" >&2
  return 1
}

"$program" > program.out 2> program.err &
pid=$!
answer "Start FullScreen?" Escape   # No: windowed
answer "Start In A Soft Mode?" Return # Yes: 640 x 480
main="$(wait_window "OpenGL WinAPI template by Velmostin K.T.")"
xdotool windowfocus --sync "$main"

wait_still start.png
press r
sleep 1
wait_still mixed.png
mixed="$(differing start.png mixed.png)"
echo "after the mix: $mixed pixels of the cube area differ from the start"
[ "$mixed" != "0" ] || { echo "solve.sh: the mix did not change the cube"; exit 1; }

press 0
sleep 1
wait_still solved.png
kill -0 "$pid" || { echo "solve.sh: the program ended"; cat program.err; exit 1; }
echo "after the solve with 0: $(differing start.png solved.png) pixels differ from the start"
echo "mixed picture a recolouring of the start: $(recoloured start.png mixed.png)"
verdict="$(recoloured start.png solved.png)"
echo "solved picture a recolouring of the start: $verdict"
failed=0
[ "${verdict%% *}" = "yes" ] || failed=1

press r
sleep 1
wait_still mixed2.png
press 5
sleep 1
wait_still quick.png
echo "second mix a recolouring of the start: $(recoloured start.png mixed2.png)"
verdict="$(recoloured start.png quick.png)"
echo "after the Quick solve, a recolouring of the start: $verdict"
[ "${verdict%% *}" = "yes" ] || failed=1
kill -0 "$pid" || { echo "solve.sh: the program ended"; cat program.err; exit 1; }

if [ "$failed" != "0" ]; then
  keep="$(mktemp -d /tmp/cube-e2e-fail-XXXXXX)"
  cp ./*.png "$keep/"
  echo "solve.sh: FAILED (pictures in $keep)"
  exit 1
fi
echo "solve.sh: mixed and solved with 0, mixed and solved with 5"
