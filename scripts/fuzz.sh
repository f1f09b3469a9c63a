#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short, bounded time.
# FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DWB_FUZZ=ON -DWB_BUILD_GUI=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-fuzz -j"${JOBS:-2}" --target $(ls tests/fuzz/*.cpp | xargs -n1 basename | sed 's/Fuzz\(.*\)\.cpp/fuzz_\1/' | tr 'A-Z' 'a-z' | sed 's/gridevents/grid_events/')
for f in build-fuzz/tests/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  echo "== $(basename "$f") for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=0 "$f" -max_total_time="$seconds" -print_final_stats=0 -close_fd_mask=3 2>&1 | tail -2
done
