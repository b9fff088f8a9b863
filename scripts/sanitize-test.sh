#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ (kept between runs)
# and runs the whole test suite under them, beside a private PostgreSQL server as the main run does. Any
# sanitizer report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-test-deps.sh
build_dir=build-asan
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  # -O1 as the sanitizers recommend, and line tables (-g1) only: enough for the reports' stack traces, and a
  # much quicker build than -O2 with full debug information.
  cmake -S . -B "$build_dir" -G Ninja -DQUENVALE_SANITIZE=ON -DQUENVALE_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
fi
cmake --build "$build_dir" -j2
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
scripts/with-test-database-server.sh ctest --test-dir "$build_dir" --output-on-failure -j2
