#!/usr/bin/env bash
# Configures (once) and builds into build/ (kept between runs). Extra arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QUENVALE_BUILD_DIR:-build}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -G Ninja "$@"
fi
cmake --build "$build_dir" -j2
