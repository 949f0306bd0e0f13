#!/usr/bin/env bash
# The Debian package: cpack builds it from the build directory, it holds the
# programs, desktop entry, icon, AppStream metadata and manual pages, declares
# its dependencies, and cube-solve runs from a scratch root it is unpacked in.
# The manual pages name every option that the programs' --help names.
set -u
BUILD="$(cd "${1:?build directory}" && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fails=0
passes=0
check() { # name, condition result
  if [ "$2" -eq 0 ]; then passes=$((passes + 1)); else fails=$((fails + 1)); echo "FAIL: $1"; fi
}

if ! (cd "$BUILD" && cpack -G DEB -B "$WORK/out") >"$WORK/cpack.txt" 2>&1; then
  cat "$WORK/cpack.txt"
  echo "package.sh: FAIL: cpack -G DEB failed"
  exit 1
fi
deb="$(ls "$WORK"/out/*.deb 2>/dev/null | head -n 1)"
[ -n "$deb" ] || { echo "package.sh: FAIL: no .deb in $WORK/out"; exit 1; }
echo "package: $(basename "$deb")"

dpkg-deb -c "$deb" | awk '{print $NF}' >"$WORK/contents.txt"
expected=(
  ./usr/bin/cube-solve
  ./usr/share/man/man6/cube-solve.6.gz
  ./usr/share/cube-solver/short-tables.bin
)
if [ -x "$BUILD/cube-solver" ]; then
  expected+=(
    ./usr/bin/cube-solver
    ./usr/share/man/man6/cube-solver.6.gz
    ./usr/share/applications/cube-solver.desktop
    ./usr/share/icons/hicolor/scalable/apps/cube-solver.svg
    ./usr/share/metainfo/cube-solver.metainfo.xml
  )
fi
for f in "${expected[@]}"; do
  check "the package holds $f" $(grep -qxF -- "$f" "$WORK/contents.txt"; echo $?)
done

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
check "dependencies declared (libc6 among them)" $(grep -q 'libc6' <<<"$depends"; echo $?)
if [ -x "$BUILD/cube-solver" ]; then
  check "SDL2 among the dependencies" $(grep -q 'libsdl2' <<<"$depends"; echo $?)
fi
check "section games" $([ "$(dpkg-deb -f "$deb" Section)" = games ]; echo $?)
check "a maintainer" $([ -n "$(dpkg-deb -f "$deb" Maintainer)" ]; echo $?)

# Unpacked into a scratch root, the tool runs and says the package's version.
dpkg -x "$deb" "$WORK/root"
version="$(dpkg-deb -f "$deb" Version)"
out="$("$WORK/root/usr/bin/cube-solve" --version 2>&1)"
check "installed cube-solve --version says 'cube-solve $version' (got '$out')" \
  $([ "$out" = "cube-solve $version" ]; echo $?)
# The Short routine's tables: in the package once, found by the unpacked tool
# beside its own directory, and the programs small without them.
check "the package holds the table file once" \
  $([ "$(grep -c 'short-tables.bin$' "$WORK/contents.txt")" -eq 1 ]; echo $?)
out="$(cd "$WORK" && "$WORK/root/usr/bin/cube-solve" --mixes 1 --entry 6 2>&1)"
check "installed cube-solve solves with entry 6 ($out)" $(grep -q "solved$" <<<"$out"; echo $?)
for prog in cube-solve cube-solver; do
  [ -e "$WORK/root/usr/bin/$prog" ] || continue
  size=$(stat -c %s "$WORK/root/usr/bin/$prog")
  check "$prog is under 3 MB ($size bytes)" $([ "$size" -lt 3000000 ]; echo $?)
done
if [ -x "$WORK/root/usr/bin/cube-solver" ]; then
  out="$("$WORK/root/usr/bin/cube-solver" --version 2>&1)"
  check "installed cube-solver --version (got '$out')" \
    $([ "$out" = "cube-solver $version" ]; echo $?)
fi

# Every option a program's --help names is in its manual page, and the page
# renders without complaint.
for prog in cube-solve cube-solver; do
  bin="$WORK/root/usr/bin/$prog"
  page="$WORK/root/usr/share/man/man6/$prog.6.gz"
  [ -x "$bin" ] || continue
  "$bin" --help >"$WORK/help.txt" 2>&1
  check "$prog --help exits 0" $?
  zcat "$page" | sed 's/\\-/-/g' >"$WORK/page.txt"
  for opt in $(grep -oE -- '--[a-z][a-z-]*' "$WORK/help.txt" | sort -u); do
    check "$prog(6) names $opt" $(grep -qF -- "$opt" "$WORK/page.txt"; echo $?)
  done
  warnings="$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)"
  check "$prog(6) renders without warnings ($warnings)" $([ -z "$warnings" ]; echo $?)
done

# The AppStream metadata: no errors (an id without reverse-DNS is only a warning).
meta="$WORK/root/usr/share/metainfo/cube-solver.metainfo.xml"
if [ -f "$meta" ]; then
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$meta" >"$WORK/as.txt" 2>&1
    check "metainfo validates without errors ($(grep '^E:' "$WORK/as.txt"))" \
      $(! grep -q '^E:' "$WORK/as.txt"; echo $?)
  else
    echo "package.sh: appstreamcli not installed, metainfo not validated"
  fi
fi

echo "package.sh: $passes passed, $fails failed"
[ "$fails" -eq 0 ]
