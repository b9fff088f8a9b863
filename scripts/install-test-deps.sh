#!/usr/bin/env bash
# Installs what the program needs and, for the tests, the PostgreSQL server they start for their run. With
# --list, only prints the packages.
set -euo pipefail
dir="$(dirname "$0")"
mapfile -t packages < <("$dir/install-deps.sh" --list)
packages+=(postgresql-15 postgresql-client-15)
if [ "${1:-}" = --list ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
"$dir/install-missing.sh" "${packages[@]}"
