#!/usr/bin/env bash
# The command lines from the outside: help, version and usage errors; bad
# input (status 2, file, line and word named, bad bytes escaped, nothing
# written); every entry's printed moves solve and are journalled; notation
# and states against layer numbers over random cubes; the table file, --batch
# and a file-size limit.
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
bad() { # name, expected message, arguments (standard input from $STDIN)
  local name="$1" msg="$2"; shift 2
  rm -f Kyb.txt kub2.txt
  "$TOOL" "$@" >out.txt 2>err.txt <"${STDIN:-/dev/null}"
  local rc=$?
  check "$name: status 2 (got $rc)" $([ "$rc" -eq 2 ]; echo $?)
  check "$name: '$msg' (got '$(cat -v err.txt)')" $(grep -qF -- "$msg" err.txt; echo $?)
  check "$name: no raw control byte" $(! LC_ALL=C grep -qP '[\x00-\x08\x0b-\x1f\x7f-\xff]' err.txt; echo $?)
  check "$name: nothing written" $([ ! -e Kyb.txt ] && [ ! -e kub2.txt ] && [ ! -s out.txt ]; echo $?)
}
solved=UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB

# Help, version and usage errors, for both programs.
for prog in cube-solve cube-solver; do
  [ -x "$BUILD/$prog" ] || continue
  for args in "--help" "-h" "--version"; do
    env -u DISPLAY "$BUILD/$prog" $args >out.txt 2>err.txt
    rc=$?
    check "$prog $args: status 0 (got $rc)" "$rc"
    check "$prog $args: on standard output only" $([ -s out.txt ] && [ ! -s err.txt ]; echo $?)
  done
  env -u DISPLAY "$BUILD/$prog" --help >out.txt 2>&1
  check "$prog --help says which runs write files" $(grep -q 'kub2.txt' out.txt; echo $?)
  for args in "--bogus" "--state" "--scramble" "--scramble R --scramble U"; do
    env -u DISPLAY "$BUILD/$prog" $args >out.txt 2>err.txt </dev/null
    rc=$?
    check "$prog $args: status 2 (got $rc)" $([ "$rc" -eq 2 ]; echo $?)
    check "$prog $args: message on standard error only" $([ ! -s out.txt ] && [ -s err.txt ]; echo $?)
  done
done
"$TOOL" --help >help.txt 2>/dev/null
check "cube-solve --help names --show-state's file-less use" $(grep -q 'no file is written' help.txt; echo $?)

# --show-state alone writes nothing; with a routine it solves as before.
rm -f Kyb.txt kub2.txt
out="$("$TOOL" --mixes 1 --show-state 2>err.txt)"
check "--show-state alone: status 0, the state, nothing written" \
  $([ "${#out}" -eq 54 ] && [ ! -e Kyb.txt ] && [ ! -e kub2.txt ] && [ ! -s err.txt ]; echo $?)
"$TOOL" --mixes 1 --show-state --entry 0 >/dev/null 2>&1
check "--show-state --entry 0 solves and writes" $([ -s kub2.txt ] && [ -s Kyb.txt ]; echo $?)

# Bad input.
printf '3 -1\n7 -1\n' > good.txt
printf '3 -1\n7 x\n' > malformed.txt
printf '3 -1\n\n10 1\n' > layer.txt
printf '2 1\n4 0\n' > direction.txt
printf '2 1 5\n' > extra.txt
for i in $(seq 34); do echo "5 1"; done > many.txt
printf 'R U\n\n3 1\nF2 B Xq D\n' >badword.txt
printf 'R U\n3 x\n' >badpair.txt
printf "R U\n\x1b[2J\a\n" >badbytes.txt
printf '%s\n' "${solved:0:20}" >short.txt
for _ in $(seq 10); do echo "R U F' L"; done >forty.txt
bad "unreadable file" "cannot read $WORK/none.txt" --moves "$WORK/none.txt"
bad "layer outside 1..9" "layer.txt:3: layer 10 is outside 1..9" --moves layer.txt
bad "bad direction" "direction.txt:2: direction 0 is neither 1 nor -1" --moves direction.txt
bad "three fields" "extra.txt:1" --moves extra.txt
bad "unknown entry" "unknown entry '7'" --entry 7
bad "too many mixes" "too many mixes for the history" --mixes 20
bad "mixes plus moves" "too many for the history" --mixes 19 --moves many.txt --entry 5
bad "unknown argument" "unknown or incomplete argument '--fast'" --fast
STDIN=malformed.txt bad "malformed stdin" "<stdin>:2" --moves -
bad "twisted corner" "one corner twisted" --state "${solved:0:8}FU${solved:10:10}R${solved:21}" --print
bad "state with the history replay" "cannot solve a cube given with --state" --state "$solved" --entry 5
bad "bad word" 'badword.txt:4: word 3, "Xq", is not a move' --moves badword.txt
bad "bad pair" 'badpair.txt:2: expected "layer direction" or notation, got "3 x"' --moves badpair.txt
bad "bad bytes in a move file" 'badbytes.txt:2: expected "layer direction" or notation, got "\x1b[2J\x07"' --moves badbytes.txt
bad "bad scramble" '--scramble: word 2, "\x07\xff", is not a move' --scramble "$(printf 'R \a\xff')"
bad "control bytes in a state" 'letter 9 ("\x1b") is none of' --state "$(printf 'UUUUUUUU\033%s' "${solved:9}")"
bad "DEL and 0xff in a state" 'letter 1 ("\x7f")' --state "$(printf '\177%s' "${solved:1}")"
bad "state file content" "short.txt: the state has 20 letters, not 54" --state-file short.txt
bad "notation past the history" "forty.txt:9: 19 mixes and 36 moves are too many for the history" \
  --mixes 19 --moves forty.txt
bad "scramble with a state" "give one of --state, --state-file and --scramble" --scramble R --state "$solved"

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

# Random scrambles as layer numbers, as --scramble, as notation lines and as
# the state read back: one state; scramble then inverse: solved.
letters=(x L M R B S F D E U)      # the letter of each layer 1..9
clockwise=(0 -1 -1 1 1 -1 -1 1 1 -1)
RANDOM=20
for trial in $(seq 40); do
  : >layers.txt
  notation="" inverse=""
  for _ in $(seq $((RANDOM % 30 + 1))); do
    layer=$((RANDOM % 9 + 1)) dir=$((RANDOM % 2 * 2 - 1))
    echo "$layer $dir" >>layers.txt
    name="${letters[$layer]}"
    if [ "$dir" -eq "${clockwise[$layer]}" ]; then
      notation+="$name " inverse="$name' $inverse"
    else
      notation+="$name' " inverse="$name $inverse"
    fi
  done
  by_layers="$("$TOOL" --moves layers.txt --show-state 2>&1)"
  by_scramble="$("$TOOL" --scramble "$notation" --show-state 2>&1)"
  printf '%s\n' "$notation" | fold -w 60 -s >notation.txt
  by_lines="$("$TOOL" --moves notation.txt --show-state 2>&1)"
  back="$("$TOOL" --state "$by_scramble" --show-state 2>&1)"
  undone="$("$TOOL" --scramble "$notation $inverse" --show-state 2>&1)"
  check "trial $trial: one state ($by_layers / $by_scramble / $by_lines / $back)" \
    $([ "$by_layers" = "$by_scramble" ] && [ "$by_lines" = "$by_layers" ] && [ "$back" = "$by_layers" ]; echo $?)
  check "trial $trial: scramble and inverse give the solved cube ($undone)" \
    $([ "$undone" = "$solved" ]; echo $?)
done
rm -f kub2.txt Kyb.txt
"$TOOL" --scramble "R U F' M2 E S'" --entry 6 --notation >sol.txt 2>err.txt
check "a scramble solved by entry 6 (rc $?: $(cat err.txt))" $(grep -q ', solved$' err.txt; echo $?)
"$TOOL" --scramble "R U" --entry 5 >/dev/null 2>err.txt
check "Quick refused for a scramble" $([ $? -eq 2 ] && grep -qF 'given with --state, --state-file or --scramble' err.txt; echo $?)

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
bad "batch with a state" "--batch reads its cubes from its input" --batch --state "$solved"
bad "jobs without batch" "--jobs and --logs go with --batch" --jobs 2
bad "zero jobs" "--jobs takes a number of threads" --batch --jobs 0
bad "unreadable batch file" "cannot read $WORK/none.txt" --batch "$WORK/none.txt"

# A file-size limit: status 3, the reason given, the journal as it was.
head -c 2000 /dev/zero | tr '\0' '\n' >kub2.txt
cp kub2.txt journal-before.txt
(ulimit -f 2; exec "$TOOL" --mixes 1) >out.txt 2>err.txt
rc=$?
check "ulimit -f: status 3 (got $rc: $(cat err.txt))" $([ "$rc" -eq 3 ]; echo $?)
check "ulimit -f: the file is named with the reason" $(grep -qF 'cannot write kub2.txt: File too large' err.txt; echo $?)
check "ulimit -f: the journal unchanged" $(cmp -s kub2.txt journal-before.txt; echo $?)

echo "solve_tool.sh: $passes passed, $fails failed"
[ "$fails" -eq 0 ]
