#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail
packages=(cmake g++ ninja-build pkg-config qt6-base-dev libsqlite3-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-liberation2 poppler-utils mdbtools-dev nlohmann-json3-dev libicu-dev
          # signatures, the sealing of signers' keys and the record hashes
          libsodium-dev
          clang
          # a decimal-comma locale, so that the number tests run under one (generated below)
          locales
          # the shop server: its client library, and a server the tests start for themselves
          libpq-dev postgresql
          # the record package: its container, checksums, and a JSON Schema validator not ours
          libzip-dev python3-jsonschema
          # building and checking the Debian package (scripts/package.sh)
          lintian desktop-file-utils appstream dpkg-dev file)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "${missing[@]}"
fi

# The number tests switch to a decimal-comma locale; without one they could not run.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
