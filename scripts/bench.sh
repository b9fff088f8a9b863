#!/usr/bin/env bash
# Installs what is missing, builds and runs the benchmarks (not part of the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
QT_QPA_PLATFORM=offscreen build/bin/quenvale_bench "$@"
