#!/usr/bin/env bash
# Installs what the program needs and, for the tests, the PostgreSQL server they start for their run.
set -euo pipefail
dir="$(dirname "$0")"
mapfile -t packages < <("$dir/install-deps.sh" --list)
"$dir/install-missing.sh" "${packages[@]}" postgresql-15 postgresql-client-15
