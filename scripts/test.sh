#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, the address and
# undefined-behaviour sanitizer build, then each fuzz target briefly (a crash fails the run).
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
export QTEST_FUNCTION_TIMEOUT=${QTEST_FUNCTION_TIMEOUT:-120000}
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
# shellcheck source=scripts/pg-test-server.sh
source scripts/pg-test-server.sh
trap 'pg_test_server_stop; rm -rf "$XDG_RUNTIME_DIR"' EXIT
# The shop-server tests need a server: under CI they must run, elsewhere they are skipped
# with the reason when none can be started.
if ! pg_test_server_start && [ -n "${CI:-}" ]; then
  echo "CI: the throwaway PostgreSQL server for the shop-server tests could not be started" >&2
  exit 1
fi

jobs=${JOBS:-2}
# Runs one build's tests; a skipped test fails the run under CI, so that no check can quietly
# stop running (elsewhere, a machine without a test server is told which tests did not run).
run_tests() {
  local log
  log=$(mktemp)
  ctest --test-dir "$1" --output-on-failure --no-tests=error -j"$jobs" | tee "$log"
  if grep -q -- '\*\*\*Skipped' "$log"; then
    echo "Skipped tests in $1:" >&2
    grep -- '\*\*\*Skipped' "$log" >&2
    rm -f "$log"
    [ -z "${CI:-}" ] || { echo "CI: every test must run" >&2; return 1; }
  fi
  rm -f "$log"
}

cmake -S . -B build -G Ninja -DWB_WERROR=ON
cmake --build build -j"$jobs"
run_tests build

cmake -S . -B build-asan -G Ninja -DWB_WERROR=ON -DWB_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan

FUZZ_SECONDS=${FUZZ_SECONDS:-10} bash scripts/fuzz.sh
