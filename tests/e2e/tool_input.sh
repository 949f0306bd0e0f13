#!/usr/bin/env bash
# The two programs' command lines from the outside: help, version and usage
# errors; notation (--scramble, move-file lines) against layer numbers over
# random scrambles; bad words named, bad bytes escaped; a file-size limit.
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

# Faults: line and word named, bad bytes escaped, nothing written.
printf 'R U\n\n3 1\nF2 B Xq D\n' >badword.txt
printf 'R U\n3 x\n' >badpair.txt
printf "R U\n\x1b[2J\a\n" >badbytes.txt
printf '%s\n' "${solved:0:20}" >short.txt
bad() { # name, expected message, arguments
  local name="$1" msg="$2"; shift 2
  rm -f Kyb.txt kub2.txt
  "$TOOL" "$@" >out.txt 2>err.txt
  local rc=$?
  check "$name: status 2 (got $rc)" $([ "$rc" -eq 2 ]; echo $?)
  check "$name: '$msg' (got '$(cat -v err.txt)')" $(grep -qF -- "$msg" err.txt; echo $?)
  check "$name: no raw control byte" $(! LC_ALL=C grep -qP '[\x00-\x08\x0b-\x1f\x7f-\xff]' err.txt; echo $?)
  check "$name: nothing written" $([ ! -e Kyb.txt ] && [ ! -e kub2.txt ] && [ ! -s out.txt ]; echo $?)
}
bad "bad word" 'badword.txt:4: word 3, "Xq", is not a move' --moves badword.txt
bad "bad pair" 'badpair.txt:2: expected "layer direction" or notation, got "3 x"' --moves badpair.txt
bad "bad bytes in a move file" 'badbytes.txt:2: expected "layer direction" or notation, got "\x1b[2J\x07"' --moves badbytes.txt
bad "bad scramble" '--scramble: word 2, "\x07\xff", is not a move' --scramble "$(printf 'R \a\xff')"
bad "control bytes in a state" 'letter 9 ("\x1b") is none of' --state "$(printf 'UUUUUUUU\033%s' "${solved:9}")"
bad "DEL and 0xff in a state" 'letter 1 ("\x7f")' --state "$(printf '\177%s' "${solved:1}")"
bad "state file content" "short.txt: the state has 20 letters, not 54" --state-file short.txt
for _ in $(seq 10); do echo "R U F' L"; done >forty.txt
bad "notation past the history" "forty.txt:9: 19 mixes and 36 moves are too many for the history" \
  --mixes 19 --moves forty.txt
bad "scramble with a state" "give one of --state, --state-file and --scramble" --scramble R --state "$solved"

# A file-size limit: status 3, the reason given, the journal as it was.
head -c 2000 /dev/zero | tr '\0' '\n' >kub2.txt
cp kub2.txt journal-before.txt
(ulimit -f 2; exec "$TOOL" --mixes 1) >out.txt 2>err.txt
rc=$?
check "ulimit -f: status 3 (got $rc: $(cat err.txt))" $([ "$rc" -eq 3 ]; echo $?)
check "ulimit -f: the file is named with the reason" $(grep -qF 'cannot write kub2.txt: File too large' err.txt; echo $?)
check "ulimit -f: the journal unchanged" $(cmp -s kub2.txt journal-before.txt; echo $?)

echo "tool_input.sh: $passes passed, $fails failed"
[ "$fails" -eq 0 ]
