#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short, bounded time.
# FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DWB_FUZZ=ON -DWB_BUILD_GUI=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-fuzz -j"${JOBS:-2}" --target $(ls tests/fuzz/*.cpp | xargs -n1 basename | sed 's/Fuzz\(.*\)\.cpp/fuzz_\1/' | tr 'A-Z' 'a-z' | sed 's/gridevents/grid_events/')
# The old-file reader starts from the four fixture files; new inputs go to a scratch folder.
fixtures=${WB_LEGACY_JET_FIXTURES:-../shared/fixtures/legacy-jet}
jet_seeds=$(mktemp -d)
jet_corpus=$(mktemp -d)
trap 'rm -rf "$jet_seeds" "$jet_corpus"' EXIT
n=0
for m in "$fixtures"/*.MDB "$fixtures"/*/*.MDB; do
  [ -f "$m" ] && cp "$m" "$jet_seeds/seed$((n += 1)).mdb"
done
for f in build-fuzz/tests/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  corpus=()
  [ "$(basename "$f")" = fuzz_jet ] && corpus=("$jet_corpus" "$jet_seeds")
  echo "== $(basename "$f") for ${seconds}s"
  # A hang fails like a crash: no single input may take longer than the timeout.
  ASAN_OPTIONS=detect_leaks=0 "$f" "${corpus[@]}" -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-30}" \
    -print_final_stats=0 -close_fd_mask=3 2>&1 | tail -2
done
