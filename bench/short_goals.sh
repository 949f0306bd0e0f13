#!/usr/bin/env bash
# The Short routine's goals, measured beside a baseline build in one run:
#   - lengths and time of one solve in one process, over the benchmark's
#     1,000 cubes (cube_bench, BM_Solve/6, of each build);
#   - the same answers at any load and thread count: --batch of 1,000 random
#     mixes on 1 and 2 jobs, quiet and beside two busy loops;
#   - a whole `cube-solve --entry 6 --state S` process: wall time and private
#     memory (the table file's pages, shared by every process, not counted);
#   - --batch throughput for entries 6 and 0, every solution checked;
#   - executable sizes.
# usage: bench/short_goals.sh BUILD BASELINE_BUILD [BASELINE_BENCH]
# BASELINE_BENCH: the baseline's cube_bench, when it has one (built apart).
set -u
NEW="$(cd "${1:?build directory}" && pwd)"
OLD="$(cd "${2:?baseline build directory}" && pwd)"
OLD_BENCH="${3:-$OLD/cube_bench}"
WORK="$(mktemp -d)"
BUSY=()
trap 'for p in "${BUSY[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$WORK"' EXIT
cd "$WORK"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

# Quarter turns of each answer line in notation (X2 counts two): mean and max.
lengths() {
  awk '{ n = 0; for (i = 1; i <= NF; ++i) n += ($i ~ /2/) ? 2 : 1; s += n; if (n > m) m = n }
       END { printf "mean %.2f, longest %d quarter turns", s / NR, m }' "$1"
}
# Median and largest of numbers, one a line.
spread() {
  sort -n "$1" | awk '{ v[NR] = $1 } END { printf "median %s, max %s", v[int((NR + 1) / 2)], v[NR] }'
}
now() { date +%s%N; }

# ---- 1,000 random mixes -------------------------------------------------------
RANDOM=2026
faces=(U R F D L B)
powers=("" "'" 2)
for i in $(seq 1000); do
  line=""
  for k in $(seq 30); do line+="${faces[RANDOM % 6]}${powers[RANDOM % 3]} "; done
  echo "$line"
done > mixes.txt

# ---- one solve in one process ------------------------------------------------
echo
echo "== one solve in one process (cube_bench BM_Solve/6, 1,000 cubes)"
for side in before after; do
  bench="$OLD_BENCH"; [ "$side" = after ] && bench="$NEW/cube_bench"
  if [ -x "$bench" ]; then
    "$bench" --benchmark_filter='BM_Solve/6/' --benchmark_format=json 2>/dev/null |
      awk -v side="$side" -F'[:,]' '/"(tmpfs_median_us|tmpfs_max_us|mean_qt|max_qt|solved|setup_ms)"/ {
        gsub(/[" ]/, "", $1); printf "%s %s=%s", (n++ ? "," : side ":"), $1, $2 } END { print "" }'
  else
    echo "$side: no cube_bench at $bench"
  fi
done

# ---- 60 cubes as state strings (from random move files) ------------------------
for i in $(seq 60); do
  for k in $(seq 30); do echo "$((RANDOM % 9 + 1)) $((RANDOM % 2 * 2 - 1))"; done > moves.txt
  "$NEW/cube-solve" --moves moves.txt --show-state --entry 0 2>/dev/null | head -n 1
done > states.txt

# One process a cube: its answer (notation), wall time in microseconds and
# memory line, into files named after the side and the load.
processes() { # side tool tag
  local side="$1" tool="$2" tag="$3"
  : > "$side-$tag-answers.txt"; : > "$side-$tag-us.txt"; : > "$side-$tag-mem.txt"
  while read -r state; do
    local t0 t1
    t0=$(now)
    PRIVATE_MEMORY_OUT="$WORK/$side-$tag-mem.txt" LD_PRELOAD="$NEW/libprivate_memory.so" \
      "$tool" --entry 6 --state "$state" --notation >> "$side-$tag-answers.txt" 2>/dev/null
    t1=$(now)
    echo $(( (t1 - t0) / 1000 )) >> "$side-$tag-us.txt"
  done < states.txt
  rm -f Kyb.txt kub2.txt
}

echo
echo "== a whole cube-solve --entry 6 --state S process, 60 cubes (quiet)"
processes before "$OLD/cube-solve" quiet
processes after "$NEW/cube-solve" quiet
for side in before after; do
  cut -d' ' -f1 "$side-quiet-mem.txt" > private.txt
  cut -d' ' -f3 "$side-quiet-mem.txt" > peak.txt
  echo "$side: wall us $(spread "$side-quiet-us.txt"); private KB $(spread private.txt);" \
    "peak resident KB $(spread peak.txt)"
done
echo "after: resident table pages (shared) KB $(cut -d' ' -f2 after-quiet-mem.txt | sort -n | tail -n 1)"

# ---- --batch throughput ---------------------------------------------------------
echo
echo "== --batch of the 1,000 mixes (every answer played on its cube and checked)"
for entry in 6 0; do
  t0=$(now); "$NEW/cube-solve" --batch mixes.txt --entry "$entry" > "batch$entry.txt" 2>/dev/null; t1=$(now)
  echo "entry $entry, default jobs: $(( 1000 * 1000000000 / (t1 - t0) )) cubes/s," \
    "$(grep -c '^error' "batch$entry.txt") errors"
done

# ---- the same answers at any load and thread count -------------------------------
echo
echo "== the same answers at any load and thread count (entry 6)"
"$NEW/cube-solve" --batch mixes.txt --jobs 1 > quiet1.txt 2>/dev/null
"$NEW/cube-solve" --batch mixes.txt --jobs 2 > quiet2.txt 2>/dev/null
echo "quiet, 1 job:  $(lengths quiet1.txt)"
yes > /dev/null & BUSY+=($!)
yes > /dev/null & BUSY+=($!)
sleep 2
"$NEW/cube-solve" --batch mixes.txt --jobs 2 > busy2.txt 2>/dev/null
"$NEW/cube-solve" --batch mixes.txt --jobs 1 > busy1.txt 2>/dev/null
echo "two busy loops (load $(cut -d' ' -f1 /proc/loadavg)), 2 jobs: $(lengths busy2.txt)"
same=yes
for f in quiet2.txt busy1.txt busy2.txt; do cmp -s quiet1.txt "$f" || same=no; done
echo "after: the same 1,000 answers on 1 and 2 jobs, quiet and busy: $same"
processes before "$OLD/cube-solve" busy
processes after "$NEW/cube-solve" busy
for side in before after; do
  differ=$(paste -d'|' "$side-quiet-answers.txt" "$side-busy-answers.txt" | awk -F'|' '$1 != $2' | wc -l)
  echo "$side: one process a cube, 60 cubes: $differ answers differ from the quiet run;" \
    "busy $(lengths "$side-busy-answers.txt"), quiet $(lengths "$side-quiet-answers.txt")"
  echo "$side: busy wall us $(spread "$side-busy-us.txt")"
done
for p in "${BUSY[@]}"; do kill "$p" 2>/dev/null; done
BUSY=()

# ---- sizes ----------------------------------------------------------------------
echo
echo "== executables (bytes)"
for prog in cube-solve cube-solver; do
  echo "$prog: before $(stat -c %s "$OLD/$prog" 2>/dev/null), after $(stat -c %s "$NEW/$prog" 2>/dev/null)"
done
echo "table file: $(stat -c %s "$NEW/short-tables.bin") bytes"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
