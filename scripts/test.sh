#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless, beside a private PostgreSQL server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-test-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
scripts/with-test-database-server.sh ctest --test-dir build --output-on-failure -j2
