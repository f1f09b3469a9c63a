#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, the address and
# undefined-behaviour sanitizer build, then each fuzz target briefly (a crash fails the run).
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
export QTEST_FUNCTION_TIMEOUT=${QTEST_FUNCTION_TIMEOUT:-120000}
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

jobs=${JOBS:-2}
cmake -S . -B build -G Ninja -DWB_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --no-tests=error -j"$jobs"

cmake -S . -B build-asan -G Ninja -DWB_WERROR=ON -DWB_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --no-tests=error -j"$jobs"

FUZZ_SECONDS=${FUZZ_SECONDS:-10} bash scripts/fuzz.sh
