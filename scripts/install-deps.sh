#!/usr/bin/env bash
# Installs the Debian packages Quenvale needs to build, run and test. Safe to run again. With --list, only
# prints them.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config sqlite3 mold
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libgl1-mesa-dev
  libsqlite3-dev libpcre2-dev libpq-dev postgresql-client
  libgtest-dev libgmock-dev libbenchmark-dev libzbar-dev
  xvfb xauth
)
if [ "${1:-}" = --list ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
"$(dirname "$0")/install-missing.sh" "${packages[@]}"
