#!/usr/bin/env bash
# cube-solve against bad input and every write fault we can make, one row each:
# status, a fragment of standard error, the journal afterwards ("same", "grown"
# by exactly the printed moves, "-"). Permission rows run as user 65534 under root.
set -u
BUILD="$(cd "${1:?build directory}" && pwd)"
TOOL="$BUILD/cube-solve"
WORK="$(mktemp -d)"
chmod 755 "$WORK"
cleanup() {
  cd /
  grep -F " $WORK/" /proc/mounts | cut -d' ' -f2 | while read -r m; do umount "$m"; done
  chmod -R u+w "$WORK" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fails=0 passes=0 skips=0 rows=0
root=$(($(id -u) == 0))

solved=UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB
old_journal() { printf '9 1\n' > kub2.txt; }
for_user() { chown -R 65534:65534 . 2>/dev/null || true; }

s_old() { old_journal; }
s_long_ok() { old_journal; printf '3 -1%250s\n7 1\n' '' > m.txt; }
s_long() { old_journal; printf '3 -1\n%300s\n' x > m.txt; }
s_layer_range() { old_journal; printf '99999999999 1\n' > m.txt; }
s_layer() { old_journal; printf '3 -1\n\n10 1\n' > m.txt; }
s_badword() { old_journal; printf 'R U\n\n3 1\nF2 B Xq D\n' > m.txt; }
s_short() { old_journal; printf '%s\n' "${solved:0:20}" > m.txt; }
s_forty() { old_journal; for _ in $(seq 10); do echo "R U F' L"; done > m.txt; }
s_control() { old_journal; printf '7 \033[2J\001\n' > m.txt; }
s_journal_dir() { mkdir kub2.txt; }
s_journal_fifo() { mkfifo kub2.txt; }
s_trace_fifo() { old_journal; mkfifo Kyb.txt; }
s_journal_full_dev() { ln -s /dev/full kub2.txt; }
s_journal_null() { ln -s /dev/null kub2.txt; }
s_readonly() { old_journal; chmod 444 kub2.txt; for_user; }
s_locked_dir() { old_journal; for_user; chmod 555 .; }
s_locked_empty_dir() { for_user; chmod 555 .; }
# A full 64 KiB tmpfs: the solve's append fits in part, fails, is taken back.
s_full_disk() {
  mkdir disk && mount -t tmpfs -o size=64k tmpfs disk 2>/dev/null || return 77
  cd disk || return 1
  for _ in $(seq 1000); do printf '9 1\n'; done > kub2.txt
  dd if=/dev/zero of=filler bs=4k 2>/dev/null
  return 0
}

# name | setup | needs (root/user/-) | feed | arguments | status | stderr fragment | journal
ROWS=(
  "solve|s_old|-||--mixes 1 --print|0|, solved|grown"
  "254-character line|s_long_ok|-||--moves m.txt --print|0|, solved|grown"
  "/dev/zero|s_old|-||--moves /dev/zero|2|/dev/zero:1: NUL byte|same"
  "endless moves|s_old|-|yes '1 1'|--moves -|2|<stdin>:984: 0 mixes and 984 lines are too many for the history|same"
  "long line|s_long|-||--moves m.txt|2|m.txt:2: line too long (at most 254 characters)|same"
  "layer out of range|s_layer_range|-||--moves m.txt|2|m.txt:1: layer 99999999999 is out of range|same"
  "control bytes quoted|s_control|-||--moves m.txt|2|got \"7 \\x1b[2J\\x01\"|same"
  "mixes out of range|s_old|-||--mixes 99999999999|2|--mixes 99999999999 is out of range|same"
  "unreadable file|s_old|-||--moves $WORK/none.txt|2|cannot read $WORK/none.txt|same"
  "layer outside 1..9|s_layer|-||--moves m.txt|2|m.txt:3: layer 10 is outside 1..9|same"
  "malformed stdin|s_old|-|printf '3 -1\n7 x\n'|--moves -|2|<stdin>:2: expected \"layer direction\" or notation|same"
  "bad word|s_badword|-||--moves m.txt|2|m.txt:4: word 3, \"Xq\", is not a move|same"
  "state file content|s_short|-||--state-file m.txt|2|m.txt: the state has 20 letters, not 54|same"
  "notation past the history|s_forty|-||--mixes 19 --moves m.txt|2|m.txt:9: 19 mixes and 36 moves are too many|same"
  "unknown entry|s_old|-||--entry 7|2|unknown entry '7'|same"
  "too many mixes|s_old|-||--mixes 20|2|too many mixes for the history|same"
  "history replay of a state|s_old|-||--state $solved --entry 5|2|cannot solve a cube given with --state|same"
  "history replay of a scramble|s_old|-||--scramble R --entry 5|2|given with --state, --state-file or --scramble|same"
  "scramble with a state|s_old|-||--scramble R --state $solved|2|give one of --state, --state-file and --scramble|same"
  "batch with a state|s_old|-||--batch --state $solved|2|--batch reads its cubes from its input|same"
  "jobs without batch|s_old|-||--jobs 2|2|--jobs and --logs go with --batch|same"
  "zero jobs|s_old|-||--batch --jobs 0|2|--jobs takes a number of threads|same"
  "unreadable batch file|s_old|-||--batch $WORK/none.txt|2|cannot read $WORK/none.txt|same"
  "journal a directory|s_journal_dir|-||--mixes 1|3|cannot write kub2.txt: Is a directory|-"
  "journal a FIFO|s_journal_fifo|-||--mixes 1|3|cannot write kub2.txt: it is a FIFO|-"
  "trace a FIFO|s_trace_fifo|-||--mixes 1 --print|3|cannot write Kyb.txt: it is a FIFO|grown"
  "journal on /dev/full|s_journal_full_dev|-||--mixes 1|3|cannot write kub2.txt: it is a device|-"
  "journal on /dev/null|s_journal_null|-||--mixes 1|0|, solved|-"
  "read-only journal|s_readonly|user||--mixes 1|3|cannot write kub2.txt: Permission denied|same"
  "directory not writable|s_locked_dir|user||--mixes 1 --print|3|cannot write Kyb.txt: Permission denied|grown"
  "nothing writable|s_locked_empty_dir|user||--mixes 1|3|solved, journal and trace not written|same"
  "full disk|s_full_disk|root||--entry 2 --mixes 1|3|cannot write kub2.txt: No space left on device (nothing of this solve was added)|same"
)

skip() { echo "SKIP: $1"; skips=$((skips + 1)); cd "$WORK" || exit 1; }
for row in "${ROWS[@]}"; do
  IFS='|' read -r name setup needs feed args status fragment journal <<< "$row"
  [ "$needs" = root ] && [ "$root" -ne 1 ] && { skip "$name (needs root)"; continue; }
  run=()
  if [ "$needs" = user ] && [ "$root" -eq 1 ]; then
    command -v setpriv >/dev/null || { skip "$name (root ignores permission bits, no setpriv)"; continue; }
    run=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  fi
  dir="$WORK/case$((++rows))"
  mkdir "$dir" && cd "$dir" || exit 1
  "$setup"
  case $? in
    0) ;;
    77) skip "$name (cannot mount a tmpfs here)"; continue ;;
    *) echo "FAIL: $name: setup"; fails=$((fails + 1)); cd "$WORK"; continue ;;
  esac
  rm -f "$WORK/before"
  if [ -f kub2.txt ]; then cat kub2.txt > "$WORK/before"; fi
  # shellcheck disable=SC2086 # the arguments are words
  if [ -n "$feed" ]; then
    bash -c "$feed" 2>/dev/null | timeout 20 "${run[@]}" "$TOOL" $args >"$WORK/out" 2>"$WORK/err"
    rc=${PIPESTATUS[1]}
  else
    timeout 20 "${run[@]}" "$TOOL" $args >"$WORK/out" 2>"$WORK/err" </dev/null
    rc=$?
  fi
  problem=""
  [ "$rc" -eq "$status" ] || problem="exit $rc, wanted $status"
  grep -qF -- "$fragment" "$WORK/err" || problem="$problem; no '$fragment' in: $(cat -v "$WORK/err")"
  ! grep -q $'\033' "$WORK/err" || problem="$problem; a raw escape byte reached standard error"
  case "$journal" in
    same)
      if [ -e "$WORK/before" ]; then cmp -s "$WORK/before" kub2.txt || problem="$problem; journal changed"
      else [ ! -e kub2.txt ] || problem="$problem; journal created"; fi ;;
    grown)
      cat "$WORK/before" "$WORK/out" | cmp -s - kub2.txt || problem="$problem; journal not grown by exactly the solution" ;;
  esac
  if [ "$status" -eq 2 ] && { [ -e Kyb.txt ] || [ -s "$WORK/out" ]; }; then problem="$problem; output or Kyb.txt on bad input"; fi
  if [ -n "$problem" ]; then echo "FAIL: $name: ${problem#; }"; fails=$((fails + 1))
  else passes=$((passes + 1)); fi
  cd "$WORK" || exit 1
  if [ "$setup" = s_full_disk ]; then umount "$dir/disk"; fi
done

echo "journal_faults: $passes passed, $fails failed, $skips skipped"
[ "$fails" -eq 0 ]
