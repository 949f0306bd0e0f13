#!/usr/bin/env bash
# The Debian package: its files and fields, the tools running unpacked, manual
# pages naming every --help option, lintian and appstreamcli clean.
set -u
BUILD="$(cd "${1:?build directory}" && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fails=0
passes=0
check() { # name, condition result
  if [ "$2" -eq 0 ]; then passes=$((passes + 1)); else fails=$((fails + 1)); echo "FAIL: $1"; fi
}

(cd "$BUILD" && cpack -G DEB -B "$WORK/out") >"$WORK/cpack.txt" 2>&1 ||
  { cat "$WORK/cpack.txt"; echo "package.sh: FAIL: cpack -G DEB failed"; exit 1; }
deb="$(ls "$WORK"/out/*.deb 2>/dev/null | head -n 1)"
[ -n "$deb" ] || { echo "package.sh: FAIL: no .deb in $WORK/out"; exit 1; }

dpkg-deb -c "$deb" | awk '{print $NF}' >"$WORK/contents.txt"
expected=(
  ./usr/games/cube-solve
  ./usr/share/man/man6/cube-solve.6.gz
  ./usr/share/doc/cube-solver/copyright
  ./usr/share/doc/cube-solver/changelog.gz
  ./usr/share/cube-solver/short-tables.bin
)
if [ -x "$BUILD/cube-solver" ]; then
  expected+=(
    ./usr/games/cube-solver
    ./usr/share/man/man6/cube-solver.6.gz
    ./usr/share/applications/cube-solver.desktop
    ./usr/share/icons/hicolor/scalable/apps/cube-solver.svg
    ./usr/share/metainfo/org.example.CubeSolver.metainfo.xml
  )
fi
for f in "${expected[@]}"; do
  check "the package holds $f" $(grep -qxF -- "$f" "$WORK/contents.txt"; echo $?)
done

depends="$(dpkg-deb -f "$deb" Depends)"
check "dependencies declared ($depends)" $(grep -q 'libc6' <<<"$depends" &&
  { [ ! -x "$BUILD/cube-solver" ] || grep -q 'libsdl2' <<<"$depends"; }; echo $?)
check "section games, nothing in /usr/bin" \
  $([ "$(dpkg-deb -f "$deb" Section)" = games ] && ! grep -q '^\./usr/bin/.' "$WORK/contents.txt"; echo $?)

dpkg -x "$deb" "$WORK/root"
version="$(dpkg-deb -f "$deb" Version)"
out="$("$WORK/root/usr/games/cube-solve" --version 2>&1)"
check "installed cube-solve --version says 'cube-solve $version' (got '$out')" \
  $([ "$out" = "cube-solve $version" ]; echo $?)
# The table file packed once and found by the unpacked tool; the programs small.
check "the package holds the table file once" \
  $([ "$(grep -c 'short-tables.bin$' "$WORK/contents.txt")" -eq 1 ]; echo $?)
out="$(cd "$WORK" && "$WORK/root/usr/games/cube-solve" --mixes 1 --entry 6 2>&1)"
check "installed cube-solve solves with entry 6 ($out)" $(grep -q "solved$" <<<"$out"; echo $?)
for prog in cube-solve cube-solver; do
  [ -e "$WORK/root/usr/games/$prog" ] || continue
  size=$(stat -c %s "$WORK/root/usr/games/$prog")
  check "$prog is under 3 MB ($size bytes)" $([ "$size" -lt 3000000 ]; echo $?)
done

# Every option --help names is in the manual page, which renders cleanly.
for prog in cube-solve cube-solver; do
  bin="$WORK/root/usr/games/$prog"
  page="$WORK/root/usr/share/man/man6/$prog.6.gz"
  [ -x "$bin" ] || continue
  "$bin" --help >"$WORK/help.txt" 2>/dev/null
  zcat "$page" | sed 's/\\-/-/g' >"$WORK/page.txt"
  for opt in $(grep -oE -- '--[a-z][a-z-]*' "$WORK/help.txt" | sort -u); do
    check "$prog(6) names $opt" $(grep -qF -- "$opt" "$WORK/page.txt"; echo $?)
  done
  warnings="$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)"
  check "$prog(6) renders without warnings ($warnings)" $([ -z "$warnings" ]; echo $?)
done

# lintian and appstreamcli installed first when missing, as root.
need=()
command -v lintian >/dev/null || need+=(lintian)
command -v appstreamcli >/dev/null || need+=(appstream)
if [ "${#need[@]}" -gt 0 ] && [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  { apt-get install -y --no-install-recommends "${need[@]}" ||
    { apt-get update && apt-get install -y --no-install-recommends "${need[@]}"; }; } >"$WORK/apt.txt" 2>&1 || cat "$WORK/apt.txt"
fi

if command -v lintian >/dev/null; then
  lintian --allow-root -I --pedantic "$deb" >"$WORK/lintian.txt" 2>&1
  grep -v 'spelling-error-in-binary' "$WORK/lintian.txt" | sed 's/^/lintian: /'
  check "lintian reports no errors or warnings ($(grep -E '^[EW]:' "$WORK/lintian.txt" | tr '\n' ' '))" \
    $(! grep -qE '^[EW]:' "$WORK/lintian.txt"; echo $?)
  # (a sanitizer build has no fortify)
  if ! grep -q '^CUBE_SANITIZE:BOOL=ON' "$BUILD/CMakeCache.txt"; then
    check "lintian has no hardening notes" $(! grep -q 'hardening-' "$WORK/lintian.txt"; echo $?)
  fi
else
  check "lintian is installed" 1
fi

meta="$(ls "$WORK"/root/usr/share/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)"
if [ -n "$meta" ]; then
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$meta" >"$WORK/as.txt" 2>&1
    check "metainfo validates ($(tr '\n' ' ' <"$WORK/as.txt"))" $([ $? -eq 0 ] && ! grep -qE '^[EW]:' "$WORK/as.txt"; echo $?)
    appstreamcli validate-tree --no-net "$WORK/root" >"$WORK/tree.txt" 2>&1
    check "the installed tree validates ($(cat "$WORK/tree.txt" | tr '\n' ' '))" $?
  else
    check "appstreamcli is installed" 1
  fi
fi

desktop="$WORK/root/usr/share/applications/cube-solver.desktop" # started from the menu: told so
[ ! -f "$desktop" ] || check "the desktop entry passes --desktop" $(grep -qx 'Exec=cube-solver --desktop' "$desktop"; echo $?)

echo "package.sh: $passes passed, $fails failed"
[ "$fails" -eq 0 ]
