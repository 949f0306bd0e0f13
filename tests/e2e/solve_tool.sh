#!/usr/bin/env bash
# cube-solve from the outside: bad input (exit 2, file and line named, nothing
# written); every entry's printed moves solve and are journalled; --state in.
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

printf '3 -1\n7 -1\n' > good.txt
printf '3 -1\n7 x\n' > malformed.txt
printf '3 -1\n\n10 1\n' > layer.txt
printf '2 1\n4 0\n' > direction.txt
printf '2 1 5\n' > extra.txt
for i in $(seq 34); do echo "5 1"; done > many.txt

expect_bad "unreadable file" "cannot read $WORK/none.txt" --moves "$WORK/none.txt"
expect_bad "malformed line" "malformed.txt:2" --moves malformed.txt
expect_bad "layer outside 1..9" "layer.txt:3: layer 10 is outside 1..9" --moves layer.txt
expect_bad "bad direction" "direction.txt:2: direction 0 is neither 1 nor -1" --moves direction.txt
expect_bad "three fields" "extra.txt:1" --moves extra.txt
expect_bad "unknown entry" "unknown entry '7'" --entry 7
expect_bad "too many mixes" "too many mixes for the history" --mixes 20
expect_bad "mixes plus moves" "too many for the history" --mixes 19 --moves many.txt --entry 5
expect_bad "unknown argument" "unknown or incomplete argument '--fast'" --fast
STDIN=malformed.txt expect_bad "malformed stdin" "<stdin>:2" --moves -
solved=UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB
expect_bad "twisted corner" "one corner twisted" --state "${solved:0:8}FU${solved:10:10}R${solved:21}" --print
expect_bad "state with the history replay" "cannot solve a cube given with --state" \
  --state "$solved" --entry 5
printf '%s\n' "${solved}X" > state.txt
expect_bad "state file" "the state has more than 54 letters" --state-file state.txt

# Every entry, with and without a mix: the summary, the journal ending with
# the printed moves (a retry's opening "1 -1" not journalled; entry 6's
# journal and trace are exactly them), and the moves replayed leave nothing.
for entry in 0 1 2 3 4 5 6; do
  for mixes in 0 1; do
    rm -f Kyb.txt kub2.txt
    "$TOOL" --mixes "$mixes" --moves good.txt --entry "$entry" --print >moves.txt 2>err.txt
    rc=$?
    check "entry $entry mixes $mixes solved (rc $rc: $(cat err.txt))" "$rc"
    check "entry $entry summary" $(grep -qE "^entry $entry: [0-9]+ moves, [0-9]+ driver calls, [0-9]+ us, solved$" err.txt; echo $?)
    if [ "$entry" -ne 5 ]; then
      sed '1{/^1 -1$/d}' moves.txt > journalled.txt
      n=$(wc -l < journalled.txt)
      check "entry $entry journal ends with the printed moves" \
        $([ "$(tail -n "$n" kub2.txt | md5sum)" = "$(md5sum < journalled.txt)" ]; echo $?)
    fi
    if [ "$entry" -eq 6 ]; then
      check "entry 6 journal and trace are the printed moves" \
        $(cmp -s kub2.txt moves.txt && cmp -s Kyb.txt moves.txt; echo $?)
    fi
    if [ "$mixes" -eq 0 ]; then
      cat good.txt moves.txt > replay.txt
      "$TOOL" --moves replay.txt --entry 0 --print > again.txt 2>err2.txt
      check "entry $entry replay leaves the cube solved" $([ ! -s again.txt ] && grep -q "^entry 0: 0 moves" err2.txt; echo $?)
    fi
  done
done

# Random move files: the solve from --state-file journals exactly what the
# solve of the same cube by --moves journals.
RANDOM=12
for trial in $(seq 25); do
  for i in $(seq $((RANDOM % 40 + 1))); do echo "$((RANDOM % 9 + 1)) $((RANDOM % 2 * 2 - 1))"; done > random.txt
  state="$("$TOOL" --moves random.txt --show-state 2>/dev/null)"
  for entry in 0 1 2 3 4; do
    rm -f kub2.txt; "$TOOL" --moves random.txt --entry "$entry" 2>/dev/null; mv kub2.txt by-moves.txt
    printf '%s\n' "$state" | "$TOOL" --state-file - --entry "$entry" 2>/dev/null
    check "trial $trial entry $entry: the same journal from --state" $(cmp -s kub2.txt by-moves.txt; echo $?)
  done
done
# --stages: the stage lines hold the --print moves in order, each named.
"$TOOL" --moves good.txt --mixes 1 --entry 1 --print > printed.txt 2>/dev/null
"$TOOL" --moves good.txt --mixes 1 --entry 1 --stages > staged.txt 2>/dev/null
check "stage lines carry the printed moves" $([ "$(sed 's/^[^:]*: //; s/, /\n/g' staged.txt)" = "$(cat printed.txt)" ]; echo $?)
check "stage names: the first phase's, then Base stages'" \
  $(head -n 1 staged.txt | grep -qv '^cross: ' && grep -q '^last-layer corners turned: ' staged.txt; echo $?)

# A missing or damaged table file at CUBE_SOLVER_TABLES: entry 6 refuses,
# naming the file and the fault, writing nothing; entry 0 still solves.
head -c 100000 "$BUILD/short-tables.bin" > cut.bin
cp "$BUILD/short-tables.bin" damaged.bin
printf '\x55' | dd of=damaged.bin bs=1 seek=40000000 conv=notrunc status=none
for table in "$WORK/none.bin:none.bin: missing" "$WORK/cut.bin:expected" "$WORK/damaged.bin:checksum mismatch"; do
  file="${table%%:*}" fault="${table#*:}"
  rm -f Kyb.txt kub2.txt
  CUBE_SOLVER_TABLES="$file" "$TOOL" --entry 6 --mixes 1 >out.txt 2>err.txt
  rc=$?
  check "tables $fault: entry 6 refuses (rc $rc)" $([ "$rc" -eq 1 ]; echo $?)
  check "tables $fault: the message names the file ($(cat err.txt))" \
    $(grep -qF "$file" err.txt && grep -qF "$fault" err.txt; echo $?)
  check "tables $fault: nothing written" $([ ! -e Kyb.txt ] && [ ! -e kub2.txt ] && [ ! -s out.txt ]; echo $?)
  CUBE_SOLVER_TABLES="$file" "$TOOL" --entry 0 --mixes 1 >/dev/null 2>&1
  check "tables $fault: entry 0 still solves" $?
done
check "a sound table file named by CUBE_SOLVER_TABLES is used" \
  $(CUBE_SOLVER_TABLES="$BUILD/short-tables.bin" "$TOOL" --entry 6 --mixes 1 >/dev/null 2>&1; echo $?)

# --batch's command line (its engine has its own tests): status, summary,
# standard input, --logs, and the options refused.
printf 'R U R'"'"' U'"'"'\nR X\n%s\n\nF2 B2 L2\n' "$solved" > batch.txt
rm -f Kyb.txt kub2.txt
"$TOOL" --batch batch.txt > answers.txt 2>err.txt
rc=$?
check "batch: exit 1 with an error line (rc $rc)" $([ "$rc" -eq 1 ]; echo $?)
check "batch: five answers" $([ "$(wc -l < answers.txt)" -eq 5 ]; echo $?)
check "batch: line 2 is its error" $(sed -n 2p answers.txt | grep -q '^error: line 2: word 2, "X", is not a move'; echo $?)
check "batch: the solved cube needs nothing" $([ -z "$(sed -n 3p answers.txt)" ]; echo $?)
check "batch: the summary" $(grep -q "^batch: entry 6, .*5 lines, 4 solved, 1 errors" err.txt; echo $?)
check "batch: no trace or journal" $([ ! -e Kyb.txt ] && [ ! -e kub2.txt ]; echo $?)
"$TOOL" --batch - --jobs 1 < batch.txt > answers1.txt 2>/dev/null
check "batch from standard input, one job: the same answers" $(cmp -s answers.txt answers1.txt; echo $?)
"$TOOL" --batch batch.txt --logs > /dev/null 2>&1
check "batch --logs writes the journal" $([ -s kub2.txt ]; echo $?)
expect_bad "batch with a state" "--batch reads its cubes from its input" --batch --state "$solved"
expect_bad "jobs without batch" "--jobs and --logs go with --batch" --jobs 2
expect_bad "zero jobs" "--jobs takes a number of threads" --batch --jobs 0
expect_bad "unreadable batch file" "cannot read $WORK/none.txt" --batch "$WORK/none.txt"

echo "$passes passed, $fails failed"
[ "$fails" -eq 0 ]
