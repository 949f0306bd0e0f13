#!/usr/bin/env bash
# Builds cube-solver (installing what it needs first) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target cube-solver
exec ./build/cube-solver "$@"
