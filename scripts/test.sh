#!/usr/bin/env bash
# Builds cube-solver and runs every test twice: once in a normal build and
# once with AddressSanitizer and UndefinedBehaviorSanitizer. Tests that need a
# display run under Xvfb with Mesa's software renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

JOBS="$(nproc)"
export LIBGL_ALWAYS_SOFTWARE=1
export ASAN_OPTIONS="abort_on_error=0:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

run_suite() {
  local dir="$1"; shift
  cmake -S . -B "$dir" -DCUBE_WERROR=ON "$@"
  cmake --build "$dir" -j"$JOBS"
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$dir" --output-on-failure -j"$JOBS"
}

status=0
echo "=== normal build ==="
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo || status=1
echo "=== sanitizer build (ASan + UBSan) ==="
run_suite build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCUBE_SANITIZE=ON \
  -DCUBE_BUILD_BENCH=OFF || status=1
if [ "$status" -ne 0 ]; then
  echo "test.sh: some tests FAILED"
fi
exit "$status"
