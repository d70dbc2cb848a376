#!/usr/bin/env bash
# The whole test suite from scratch: installs what is missing, then
#   1. the normal build and every test through ctest (build-test/),
#   2. the same tests built with AddressSanitizer, UBSan and leak checking (build-asan/),
#   3. each fuzz target for a bounded time on its seed corpus (build-fuzz/).
# FUZZ_SECONDS sets the time per fuzz target (default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-30}

echo "== normal build"
rm -rf build-test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs")

echo "== sanitizer build"
rm -rf build-asan
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZRV_SANITIZE=ON -DZRV_BUILD_BENCHMARKS=OFF
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs")

echo "== fuzzing"
rm -rf build-fuzz
cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz -j"$jobs"
passed=0
failed=0
for target in build-fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  if QT_QPA_PLATFORM=offscreen "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 \
       -timeout=10 -print_final_stats=1 "$work" "$corpus" > "build-fuzz/$name.log" 2>&1; then
    passed=$((passed + 1))
    echo "$name: no crash in ${fuzz_seconds}s ($(grep -o 'stat::number_of_executed_units: *[0-9]*' "build-fuzz/$name.log" | grep -o '[0-9]*$') runs)"
  else
    failed=$((failed + 1))
    echo "$name: FAILED"
    tail -n 40 "build-fuzz/$name.log"
  fi
  rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
