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
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$(cd "$build" && pwd)"
fi

export LIBGL_ALWAYS_SOFTWARE=1
out="$root/out/demo"
mkdir -p "$out"
work="$(mktemp -d /tmp/cube-demo-XXXXXX)"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

window_id() { xwininfo -root -tree | grep -F "\"$1" | awk '{print $1}' | head -1; }
wait_window() {
  local id=""
  for _ in $(seq 100); do
    id="$(window_id "$1")"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "demo.sh: no window \"$1\"" >&2
  return 1
}
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
  echo "demo.sh: the box \"$1\" would not take the answer" >&2
  return 1
}
press() {
  xdotool keydown "$1"
  sleep 0.3
  xdotool keyup "$1"
}
# P toggles again every fourth frame while it is held: a short tap.
tap() {
  xdotool keydown "$1"
  sleep 0.12
  xdotool keyup "$1"
}
shot() { import -window root -crop 1024x768+0+0 +repage "$1"; }
cube_area() { import -window root -crop 420x360+300+290 +repage "$1"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = "0" ]; }
wait_still() {
  local still=0
  cube_area prev.png
  for _ in $(seq 600); do
    sleep 0.5
    cube_area now.png
    if same now.png prev.png; then
      still=$((still + 1))
      [ "$still" -ge 3 ] && return 0
    else
      still=0
    fi
    cp now.png prev.png
  done
  echo "demo.sh: the cube never came to rest" >&2
  return 1
}
# Mean brightness of the banner's place (pen 375, 500 from the bottom left).
banner_light() { convert "$1" -crop 300x90+360+200 +repage -format "%[fx:mean]" info:; }
# How many of three pictures, 0.3 s apart, show the banner; the last is left
# in $1.
banner_count() {
  local lit=0
  for _ in 1 2 3; do
    sleep 0.3
    shot "$1"
    [ "$(banner_light "$1")" != "0" ] && lit=$((lit + 1))
  done
  echo "$lit"
}
# Taps P until the banner shows (pause) or stays dark (go on): a tap can fall
# between two frames, or last into the latch's next turn, under load.
pause() {
  for _ in $(seq 8); do
    tap p
    [ "$(banner_count pause-check.png)" -gt 0 ] && return 0
  done
  echo "demo.sh: the program did not pause" >&2
  return 1
}
resume() {
  for _ in $(seq 8); do
    tap p
    [ "$(banner_count pause-check.png)" -eq 0 ] && return 0
  done
  echo "demo.sh: the program did not go on" >&2
  return 1
}

"$build/cube-solver" > program.out 2> program.err &
pid=$!
answer "Start FullScreen?" Escape    # No: windowed
answer "Start In A Soft Mode?" Escape # No: 1024 x 768, the HUD shifted
main="$(wait_window "OpenGL WinAPI template by Velmostin K.T.")"
xdotool windowfocus --sync "$main"

wait_still
shot "$out/start.png"
press r
sleep 1
wait_still
shot "$out/mixed.png"

press 0
# The solve, pictures as fast as they can be taken (a few a second); the
# cube area is looked at every fifth to see when it has come to rest.
mkdir -p gif
n=0
still=0
cube_area prev.png
while [ "$n" -lt 600 ]; do
  n=$((n + 1))
  frame="gif/$(printf %04d "$n").miff"
  import -window root -crop 1024x768+0+0 +repage "$frame"
  if [ "$n" -eq 6 ]; then convert "$frame" "$out/mid-solve.png"; fi
  if [ "$n" -eq 12 ]; then
    # Pause half way; the banner blinks, so keep a picture that shows it.
    pause
    for _ in $(seq 10); do
      [ "$(banner_light pause-check.png)" != "0" ] && break
      sleep 0.2
      shot pause-check.png
    done
    cp pause-check.png "$out/paused.png"
    resume
  fi
  if [ $((n % 5)) -eq 0 ]; then
    cube_area now.png
    if same now.png prev.png; then
      still=$((still + 1))
      [ "$still" -ge 3 ] && break
    else
      still=0
    fi
    cp now.png prev.png
  fi
done
shot "$out/solved.png"
for frame in gif/*.miff; do
  convert "$frame" -resize 512x384 "${frame%.miff}.png"
  rm "$frame"
done
convert -delay 25 -loop 0 gif/*.png -layers Optimize "$out/solve.gif"
echo "demo.sh: $n pictures of the solve; pictures in $out:"
ls -l "$out"
