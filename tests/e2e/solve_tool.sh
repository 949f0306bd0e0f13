#!/usr/bin/env bash
# cube-solve from the outside: its bad-input paths (exit 2, a message naming
# the file and line, nothing written), and solves from mixes and move files
# whose printed moves, replayed, leave the cube as the tool says.
set -u
BUILD="$(cd "${1:?build directory}" && pwd)"
TOOL="$BUILD/cube-solve"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
fails=0
passes=0

check() { # name, condition result
  if [ "$2" -eq 0 ]; then passes=$((passes + 1)); else fails=$((fails + 1)); echo "FAIL: $1"; fi
}

expect_bad() { # name, expected message part, then the tool's arguments
  local name="$1" msg="$2"; shift 2
  rm -f Kyb.txt kub2.txt
  "$TOOL" "$@" >out.txt 2>err.txt < "${STDIN:-/dev/null}"
  local rc=$?
  check "$name: exit 2 (got $rc)" $([ "$rc" -eq 2 ]; echo $?)
  check "$name: message '$msg' (got '$(cat err.txt)')" $(grep -qF -- "$msg" err.txt; echo $?)
  check "$name: nothing written" $([ ! -e Kyb.txt ] && [ ! -e kub2.txt ] && [ ! -s out.txt ]; echo $?)
}

# After a 2x2x2 retry the journal keeps the abandoned attempts' moves in front
# of the solution; a retry that succeeded opens the solution with (1 -1),
# which is recorded in the solution only.
journal_ends_with_solution() {
  local n
  n=$(wc -l < moves.txt)
  if [ "$(tail -n "$n" kub2.txt | md5sum)" = "$(md5sum < moves.txt)" ]; then return 0; fi
  head -1 moves.txt | grep -qx -- "1 -1" || return 1
  tail -n +2 moves.txt > rest.txt
  n=$(wc -l < rest.txt)
  [ "$(tail -n "$n" kub2.txt | md5sum)" = "$(md5sum < rest.txt)" ]
}

printf '3 -1\n7 -1\n' > good.txt
printf '3 -1\n7 x\n' > malformed.txt
printf '3 -1\n\n10 1\n' > layer.txt
printf '2 1\n4 0\n' > direction.txt
printf '2 1 5\n' > extra.txt

expect_bad "unreadable file" "cannot read $WORK/none.txt" --moves "$WORK/none.txt"
expect_bad "malformed line" "malformed.txt:2" --moves malformed.txt
expect_bad "layer outside 1..9" "layer.txt:3: layer 10 is outside 1..9" --moves layer.txt
expect_bad "bad direction" "direction.txt:2: direction 0 is neither 1 nor -1" --moves direction.txt
expect_bad "three fields" "extra.txt:1" --moves extra.txt
expect_bad "unknown entry" "unknown entry '7'" --entry 7
expect_bad "too many mixes" "too many mixes for the history" --mixes 20
for i in $(seq 34); do echo "5 1"; done > many.txt
expect_bad "mixes plus moves" "too many for the history" --mixes 19 --moves many.txt --entry 5
expect_bad "unknown argument" "unknown or incomplete argument '--fast'" --fast
STDIN=malformed.txt expect_bad "malformed stdin" "<stdin>:2" --moves -

# Solves: the printed moves, replayed after the input, end solved; the
# journal holds exactly the printed moves for entries 0..4.
for entry in 0 1 2 3 4 5; do
  for mixes in 0 1 3; do
    rm -f Kyb.txt kub2.txt
    "$TOOL" --mixes "$mixes" --moves good.txt --entry "$entry" --print >moves.txt 2>err.txt
    rc=$?
    check "entry $entry mixes $mixes solved (rc $rc: $(cat err.txt))" "$rc"
    check "entry $entry summary" $(grep -qE "^entry $entry: [0-9]+ moves, [0-9]+ driver calls, [0-9]+ us, solved$" err.txt; echo $?)
    if [ "$entry" -eq 2 ] && ! cmp -s moves.txt kub2.txt; then
      check "entry 2 retry: journal ends with the solution" $(journal_ends_with_solution; echo $?)
    elif [ "$entry" -ne 5 ]; then
      check "entry $entry journal = printed moves" $(cmp -s moves.txt kub2.txt; echo $?)
    fi
    # Replay input + printed solution through the tool as a move file: the
    # cube is solved, so an entry-0 solve finds nothing to do.
    if [ "$mixes" -eq 0 ]; then
      cat good.txt moves.txt > replay.txt
      rm -f kub2.txt
      "$TOOL" --moves replay.txt --entry 0 --print > again.txt 2>err2.txt
      check "entry $entry replay leaves the cube solved" $([ ! -s again.txt ] && grep -q "^entry 0: 0 moves" err2.txt; echo $?)
    fi
  done
done

# The three cubes on which entries 1, 2 and 4 once never finished.
printf '3 -1\n7 -1\n3 1\n' > hang1.txt
printf '3 -1\n7 -1\n7 -1\n' > hang2.txt
printf '1 1\n9 -1\n9 -1\n3 1\n' > hang4.txt
for entry in 1 2 4; do
  rm -f kub2.txt
  timeout 60 "$TOOL" --moves "hang$entry.txt" --entry "$entry" --print > moves.txt 2>err.txt
  check "reproducer for entry $entry ends solved ($(tail -1 err.txt))" $?
  if [ "$entry" -eq 2 ]; then
    check "entry 2 reproducer: journal ends with the solution" $(journal_ends_with_solution; echo $?)
  else
    check "entry $entry reproducer: journal = printed moves" $(cmp -s moves.txt kub2.txt; echo $?)
  fi
done

echo "$passes passed, $fails failed"
[ "$fails" -eq 0 ]
