#!/usr/bin/env bash
# The command lines from the outside: exit statuses, which stream speaks,
# which files are written, for help, every entry, the table file, --batch and
# a file-size limit (bad input: journal_faults.sh).
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
solved=UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB

# Help, version and usage errors, for both programs.
for prog in cube-solve cube-solver; do
  [ -x "$BUILD/$prog" ] || continue
  for args in "0 --help" "0 --version" "2 --bogus" "2 --state" "2 --scramble" "2 --scramble R --scramble U"; do
    env -u DISPLAY "$BUILD/$prog" ${args#* } >out.txt 2>err.txt </dev/null
    rc=$? want="${args%% *}"
    check "$prog $args: status $want (got $rc), one stream only" $([ $rc -eq "$want" ] &&
      if [ "$want" -eq 0 ]; then [ -s out.txt ] && [ ! -s err.txt ]; else [ ! -s out.txt ] && [ -s err.txt ]; fi; echo $?)
  done
done

# --show-state alone writes nothing; with a routine it solves as before.
rm -f Kyb.txt kub2.txt
out="$("$TOOL" --mixes 1 --show-state 2>err.txt)"
check "--show-state alone: status 0, the state, nothing written" \
  $([ "${#out}" -eq 54 ] && [ ! -e Kyb.txt ] && [ ! -e kub2.txt ] && [ ! -s err.txt ]; echo $?)
"$TOOL" --mixes 1 --show-state --entry 0 >/dev/null 2>&1
check "--show-state --entry 0 solves and writes" $([ -s kub2.txt ] && [ -s Kyb.txt ]; echo $?)

printf '3 -1\n7 -1\n' > good.txt
# Every entry: the summary, the journal ends with the printed moves, which solve.
for entry in 0 1 2 3 4 5 6; do
  rm -f Kyb.txt kub2.txt
  "$TOOL" --moves good.txt --entry "$entry" --print >moves.txt 2>err.txt
  check "entry $entry solved (rc $?: $(cat err.txt))" \
    $(grep -qE "^entry $entry: [0-9]+ moves, [0-9]+ driver calls, [0-9]+ us, solved$" err.txt; echo $?)
  sed '1{/^1 -1$/d}' moves.txt > journalled.txt
  check "entry $entry journal ends with the printed moves" \
    $([ "$entry" -eq 5 ] || [ "$(tail -n "$(wc -l < journalled.txt)" kub2.txt)" = "$(cat journalled.txt)" ]; echo $?)
  cat good.txt moves.txt > replay.txt
  "$TOOL" --moves replay.txt --entry 0 --print > again.txt 2>err2.txt
  check "entry $entry replay leaves the cube solved" $([ ! -s again.txt ] && grep -q "^entry 0: 0 moves" err2.txt; echo $?)
done

# Random cubes: --state-file journals exactly what --moves does.
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
# --stages: the stage lines hold the --print moves in order.
"$TOOL" --moves good.txt --mixes 1 --entry 1 --print > printed.txt 2>/dev/null
"$TOOL" --moves good.txt --mixes 1 --entry 1 --stages > staged.txt 2>/dev/null
check "stage lines carry the printed moves" $([ "$(sed 's/^[^:]*: //; s/, /\n/g' staged.txt)" = "$(cat printed.txt)" ]; echo $?)

# A scramble with slice turns, solved by entry 6.
rm -f kub2.txt Kyb.txt
"$TOOL" --scramble "R U F' M2 E S'" --entry 6 --notation >sol.txt 2>err.txt
check "a scramble solved by entry 6 (rc $?: $(cat err.txt))" $(grep -q ', solved$' err.txt; echo $?)

# A bad CUBE_SOLVER_TABLES: entry 6 refuses (status 1, named, no files); entry 0 solves.
cp "$BUILD/short-tables.bin" damaged.bin
printf '\x55' | dd of=damaged.bin bs=1 seek=40000000 conv=notrunc status=none
for table in "$WORK/none.bin:none.bin: missing" "$WORK/damaged.bin:checksum mismatch"; do
  file="${table%%:*}" fault="${table#*:}"
  rm -f Kyb.txt kub2.txt
  CUBE_SOLVER_TABLES="$file" "$TOOL" --entry 6 --mixes 1 >out.txt 2>err.txt
  rc=$?
  check "tables $fault: entry 6 refuses (rc $rc: $(cat err.txt))" \
    $([ $rc -eq 1 ] && grep -qF "$file" err.txt && grep -qF "$fault" err.txt && [ ! -e Kyb.txt ] && [ ! -e kub2.txt ] && [ ! -s out.txt ]; echo $?)
  CUBE_SOLVER_TABLES="$file" "$TOOL" --entry 0 --mixes 1 >/dev/null 2>&1
  check "tables $fault: entry 0 still solves" $?
done

# --batch from outside (engine: batch_test.cpp): status, summary, stdin, --logs.
printf 'R U R'"'"' U'"'"'\nR X\n%s\n\nF2 B2 L2\n' "$solved" > batch.txt
rm -f Kyb.txt kub2.txt
"$TOOL" --batch batch.txt > answers.txt 2>err.txt
rc=$?
check "batch: exit 1 with an error line, the summary, no files ($(cat err.txt))" \
  $([ $rc -eq 1 ] && grep -q "^batch: entry 6, .*5 lines, 4 solved, 1 errors" err.txt && [ ! -e Kyb.txt ] && [ ! -e kub2.txt ]; echo $?)
"$TOOL" --batch - --jobs 1 < batch.txt > answers1.txt 2>/dev/null
check "batch from standard input, one job: the same answers" $(cmp -s answers.txt answers1.txt; echo $?)
"$TOOL" --batch batch.txt --logs > /dev/null 2>&1
check "batch --logs writes the journal" $([ -s kub2.txt ]; echo $?)

# A file-size limit: status 3, the reason given, the journal as it was.
head -c 2000 /dev/zero | tr '\0' '\n' >kub2.txt
cp kub2.txt journal-before.txt
(ulimit -f 2; exec "$TOOL" --mixes 1) >out.txt 2>err.txt
rc=$?
check "ulimit -f: status 3, the reason, the journal unchanged ($(cat err.txt))" \
  $([ $rc -eq 3 ] && grep -qF 'cannot write kub2.txt: File too large' err.txt && cmp -s kub2.txt journal-before.txt; echo $?)

echo "solve_tool.sh: $passes passed, $fails failed"
[ "$fails" -eq 0 ]
