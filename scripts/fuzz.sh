#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (kept between runs) and runs each one for a bounded
# time, starting from its seeds in fuzz/corpus/<target>/, as many targets at once as there are cores (each
# fuzzer uses one). Fails on any crash, hang, memory blow-up or sanitizer report; the input that caused it is
# left in build-fuzz/artifacts/<target>/ and the run's end is printed.
#   QUENVALE_FUZZ_SECONDS  seconds per target (default 20)
#   arguments              the targets to run (default: all)
# To replay one input: build-fuzz/fuzz/<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/install-fuzz-deps.sh
build_dir=build-fuzz
seconds=${QUENVALE_FUZZ_SECONDS:-20}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  # Line tables (-g1) are all the sanitizer reports need and build much quicker than full debug information.
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    -DQUENVALE_FUZZ=ON -DQUENVALE_BUILD_TESTS=OFF -DQUENVALE_BUILD_BENCH=OFF
fi
cmake --build "$build_dir" -j2 --target fuzzers

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < "$build_dir/fuzz/targets.txt"
fi

# fuzz_target <target>: runs it, leaving its log in logs/<target>.log and its exit status in logs/<target>.status.
fuzz_target() {
  local target=$1
  local seeds=fuzz/corpus/$target
  local work=$build_dir/corpus/$target
  local artifacts=$build_dir/artifacts/$target
  local log=$build_dir/logs/$target.log
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  local status=0
  if [ ! -d "$seeds" ]; then
    echo "fuzz $target: no seed corpus in $seeds" > "$log"
    status=1
  else
    "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 "$work" "$seeds" > "$log" 2>&1 || status=$?
  fi
  # A report that did not stop the run still counts.
  if grep -qE "ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error:|ERROR: libFuzzer" "$log"; then
    [ "$status" -ne 0 ] || status=1
  fi
  echo "$status" > "$build_dir/logs/$target.status"
}

rm -f "$build_dir"/logs/*.status
at_once=$(nproc)
for target in "${targets[@]}"; do
  [ -n "$target" ] || continue
  while [ "$(jobs -rp | wc -l)" -ge "$at_once" ]; do
    wait -n || true
  done
  fuzz_target "$target" &
done
wait

passed=0
failed=0
for target in "${targets[@]}"; do
  [ -n "$target" ] || continue
  log=$build_dir/logs/$target.log
  status=$(cat "$build_dir/logs/$target.status" 2>/dev/null || echo 1)
  if [ "$status" -eq 0 ]; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $target: ok, ${runs:-?} inputs in ${seconds}s"
    passed=$((passed + 1))
  else
    echo "fuzz $target: FAILED (exit $status), end of $log:"
    tail -n 60 "$log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
