#!/usr/bin/env bash
# Entries 0 to 5 of cube-solve give the same output and the same files as a
# reference build: mixes 0 to 19, 200 random move files per entry and the
# cubes on which entries 1, 2 and 4 once ran for ever; standard output, the
# summary line (its time left out), Kyb.txt and kub2.txt compared byte for
# byte, and the exit status.
# usage: scripts/compare_entries.sh BUILD REFERENCE_BUILD
set -u
NEW="$(cd "${1:?build directory}" && pwd)/cube-solve"
OLD="$(cd "${2:?reference build directory}" && pwd)/cube-solve"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/new" "$WORK/old"
runs=0
differ=0

# One run of each tool in a fresh directory of its own, then the comparison.
compare() { # what, then the tool's arguments
  local what="$1" side tool
  shift
  for side in new old; do
    tool="$NEW"; [ "$side" = old ] && tool="$OLD"
    rm -f "$WORK/$side"/*
    (cd "$WORK/$side" && "$tool" "$@" > out.txt 2> err.txt; echo "$?" > status.txt
     sed -i 's/, [0-9]* us, /, - us, /' err.txt)
  done
  runs=$((runs + 1))
  for f in out.txt err.txt status.txt Kyb.txt kub2.txt; do
    # Missing on both sides is the same (no trace for a solved cube).
    [ ! -e "$WORK/new/$f" ] && [ ! -e "$WORK/old/$f" ] && continue
    if ! cmp -s "$WORK/new/$f" "$WORK/old/$f"; then
      differ=$((differ + 1))
      echo "DIFFERS: $what: $f"
      return
    fi
  done
}

for entry in 0 1 2 3 4 5; do
  for mixes in $(seq 0 19); do compare "entry $entry, $mixes mixes" --entry "$entry" --mixes "$mixes" --print; done
  RANDOM=$((entry + 1))
  for trial in $(seq 200); do
    for i in $(seq $((RANDOM % 60 + 1))); do echo "$((RANDOM % 9 + 1)) $((RANDOM % 2 * 2 - 1))"; done > "$WORK/moves.txt"
    compare "entry $entry, move file $trial" --entry "$entry" --moves "$WORK/moves.txt" --print
  done
  for hang in "3 -1,7 -1,3 1" "3 -1,7 -1,7 -1" "1 1,9 -1,9 -1,3 1"; do
    tr ',' '\n' <<<"$hang" > "$WORK/moves.txt"
    compare "entry $entry, former hang ($hang)" --entry "$entry" --moves "$WORK/moves.txt" --print
  done
done
echo "$runs runs compared, $differ differ"
[ "$differ" -eq 0 ]
