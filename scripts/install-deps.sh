#!/usr/bin/env bash
# Installs the Debian packages Quenvale needs to build, run and test. Safe to run again.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config sqlite3
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  libsqlite3-dev libpcre2-dev
  libgtest-dev libgmock-dev libbenchmark-dev libzbar-dev
  xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
fi
