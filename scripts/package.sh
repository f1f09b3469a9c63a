#!/usr/bin/env bash
# Builds the Debian package in build/ and checks it: lintian, the desktop entry and the AppStream
# metainfo, then the packaged program itself, unpacked into a scratch root: its --version, and an
# offscreen start that reaches the main window (its settings file appears in the application-data
# folder and the main database in the data folder given) and is then ended.
# `bash scripts/package.sh install` installs the package afterwards (as root or through sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}

[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja
cmake --build build -j"$jobs" --target weightbalance weightbalance-jet-reader compressed_docs
rm -f build/weightbalance_*.deb
(cd build && cpack -G DEB >/dev/null)
debs=(build/weightbalance_*.deb)
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "package: $deb"

# Warnings that stay are explained in packaging/lintian-overrides.
lintian --fail-on error,warning --tag-display-limit 0 "$deb"

scratch=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
root=$scratch/root
dpkg -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate-tree --no-net "$root"

program=$root/usr/bin/weightbalance
answer=$("$program" --version)
if [ "$answer" != "weightbalance $version" ]; then
  echo "--version said '$answer', the package is $version" >&2
  exit 1
fi
echo "--version: $answer"
if [ ! -f "$root/usr/share/doc/weightbalance/guide.md" ] || [ ! -d "$root/usr/share/doc/weightbalance/images" ]; then
  echo "the user's guide is not installed" >&2
  exit 1
fi
if [ ! -x "$root/usr/libexec/weightbalance/weightbalance-jet-reader" ]; then
  echo "the old-file reader is not installed beside the program" >&2
  exit 1
fi

mkdir -p "$scratch/start" "$scratch/data" "$scratch/runtime"
chmod 700 "$scratch/runtime"
(cd "$scratch/start" &&
  exec env QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$scratch/xdg" XDG_RUNTIME_DIR="$scratch/runtime" \
    "$program" --data-folder "$scratch/data") &
pid=$!
settings=$scratch/xdg/weightbalance/SetupVELKF.MDB
for _ in $(seq 120); do
  if [ -f "$settings" ] && [ -f "$scratch/data/VELK.MDB" ]; then break; fi
  if ! kill -0 "$pid" 2>/dev/null; then break; fi
  sleep 0.5
done
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid" && status=0 || status=$?
  pid=""
  echo "the packaged program ended by itself during its start (status $status)" >&2
  exit 1
fi
if [ ! -f "$settings" ] || [ ! -f "$scratch/data/VELK.MDB" ]; then
  echo "the packaged program did not reach its main window within 60 s" >&2
  exit 1
fi
if [ -e "$scratch/start/SetupVELKF.MDB" ]; then
  echo "the settings file landed in the starting folder" >&2
  exit 1
fi
kill "$pid"
wait "$pid" || true
pid=""
echo "offscreen start: main window reached; settings in the application-data folder"

if [ "${1:-}" = install ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get -o DPkg::Lock::Timeout=600 install -y "./$deb"
fi
