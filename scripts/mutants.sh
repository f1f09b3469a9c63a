#!/usr/bin/env bash
# Plants deliberate faults, one at a time, in a scratch copy of the committed tree, builds it and
# runs the tests, and prints which faults the tests caught. A fault the tests miss is a rule
# nothing guards. Run by hand (it takes a while), not in CI:
#   bash scripts/mutants.sh            every fault
#   bash scripts/mutants.sh round jet  only the faults named
# MUTANTS_DIR sets the scratch folder (default: build-mutants beside the sources).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=${MUTANTS_DIR:-$root/build-mutants}
jobs=${JOBS:-2}

rm -rf "$scratch/src"
mkdir -p "$scratch/src"
# -m: every file newer than what an earlier run built, so the build starts from these sources.
git -C "$root" archive HEAD | tar -x -m -C "$scratch/src"
# The old-file fixtures sit beside the sources, as they do beside the repository (a link left
# by an earlier run is replaced, even one that leads nowhere; WB_LEGACY_JET_FIXTURES overrides).
ln -sfn "$root/../shared" "$scratch/shared"

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
export QT_QPA_PLATFORM=offscreen QTEST_FUNCTION_TIMEOUT=120000
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
# The shop-server cases need a server (the "lock" fault is caught only there).
# shellcheck source=scripts/pg-test-server.sh
source "$root/scripts/pg-test-server.sh"
trap 'pg_test_server_stop; rm -rf "$XDG_RUNTIME_DIR"' EXIT
pg_test_server_start || echo "no PostgreSQL server could be started: the shop-server cases are skipped" >&2
cmake -S "$scratch/src" -B "$scratch/build" -G Ninja "${launcher[@]}" >/dev/null
echo "== the unchanged tree"
cmake --build "$scratch/build" -j"$jobs" >/dev/null
ctest --test-dir "$scratch/build" -j"$jobs" --timeout 600 >/dev/null || {
  echo "the unchanged tree fails its own tests: nothing to measure" >&2
  exit 1
}

# name~file~text to find (exactly once)~what it becomes. "\n" stands for a line break.
faults=$(cat <<'EOF'
round~worksheet/Decimal.cpp~out.digits_ = dropped[0] >= '5' ? AddDigits(kept, "1") : Strip(kept);~out.digits_ = dropped[0] > '5' ? AddDigits(kept, "1") : Strip(kept);
pattern~worksheet/Format.h~Weight = "#####0.00";~Weight = "#####0.0";
commit~worksheet/GridEditing.cpp~disagree with the cells.\n    CommitRow(ws, id);~disagree with the cells.
enter~app/Controls.cpp~{C::Text1, "Text1", K::Text, 0, C::Text2,~{C::Text1, "Text1", K::Text, 0, C::Text3,
transaction~store/SaveWorksheet.cpp~    Transaction tx(db);\n    // Another workstation~    struct {\n        void Commit() {}\n    } tx;\n    // Another workstation
lock~store/SaveWorksheet.cpp~    db.engine().LockNames(locks);~    (void)locks;
astext~store/SaveWorksheet.cpp~v.emplace_back(std::in_place_type<double>, LeadingNumber(ws.Get(f)));~v.emplace_back(std::in_place_type<std::string>, ws.Get(f));
wildcard~store/Search.cpp~return {key + " >= ? AND " + key + " < ?", {folded, PastPrefix(folded)}};~return {key + " LIKE ? || '%' AND " + key + " < ?", {folded, PastPrefix(folded)}};
fold~store/CaseFold.cpp~    if (IsAscii(utf8)) {~    if (true) {
position~reports/ChangeReports.cpp~kWeightRight = 7000,~kWeightRight = 7300,
chain~worksheet/RecordChain.cpp~line.entry.startWeight != weight || line.entry.startArm != arm~line.entry.startWeight != weight
jet~store/jet/JetBytes.cpp~return CivilFromDays(day + kSerialZeroFromUnixEpoch);~return CivilFromDays(day + kSerialZeroFromUnixEpoch + 1);
limit~worksheet/Limits.cpp~    } else if (cg > range->aft) {~    } else if (false) {
backups~store/Backup.cpp~constexpr int kKeepNewest = 10;~constexpr int kKeepNewest = 9;
single~store/jet/LegacyImport.cpp~if (written.ec == std::errc()) std::from_chars(text, written.ptr, d);~(void)written;
minus~worksheet/GridEditing.cpp~if (cell != " " && cell != "-" && !NumericText(entry.Text())) {~if (cell != " " && !NumericText(entry.Text())) {
EOF
)

caught=0
missed=0
summary=()
while IFS='~' read -r name file find becomes; do
  [ -n "$name" ] || continue
  if (($# > 0)) && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  target=$scratch/src/$file
  cp "$target" "$target.orig"
  if ! FIND=$find BECOMES=$becomes python3 - "$target" <<'PY'
import os, sys
path = sys.argv[1]
find = os.environ["FIND"].replace("\\n", "\n")
becomes = os.environ["BECOMES"].replace("\\n", "\n")
text = open(path, encoding="utf-8").read()
if text.count(find) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(find, becomes))
PY
  then
    summary+=("$name: NOT PLANTED (its text is no longer in $file once)")
    rm "$target.orig"
    continue
  fi
  echo "== $name ($file)"
  if ! cmake --build "$scratch/build" -j"$jobs" >"$scratch/$name.build.log" 2>&1; then
    summary+=("$name: did not build (see $scratch/$name.build.log)")
  elif ctest --test-dir "$scratch/build" -j"$jobs" --timeout 600 --stop-on-failure \
      >"$scratch/$name.test.log" 2>&1; then
    summary+=("$name: MISSED: every test passed")
    missed=$((missed + 1))
  else
    failed=$(grep -m1 -E '\*\*\*Failed|\*\*\*Timeout|\(Failed\)|Exception' "$scratch/$name.test.log" |
      sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: //; s/ *\.\.\..*//' || true)
    summary+=("$name: caught by ${failed:-a failing test}")
    caught=$((caught + 1))
  fi
  mv "$target.orig" "$target"
  touch "$target"  # newer than the fault's build, so the next build takes the original again
done <<<"$faults"

# Leave the scratch build matching the unchanged tree for the next run.
cmake --build "$scratch/build" -j"$jobs" >/dev/null
echo
printf '%s\n' "${summary[@]}"
echo "$caught caught, $missed missed"
((missed == 0))
