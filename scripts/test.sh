#!/usr/bin/env bash
# Builds everything and runs the whole test suite: unit and game-level tests,
# games in a real window under Xvfb,
# the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs="$(nproc)"
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

echo "== build and test (release)"
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== window sessions (Xvfb)"
tests/window/run.sh

echo "== unit tests under sanitizers"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXLO_SANITIZE=ON "${launcher[@]}" \
  -DVEXLO_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs" --target vexlo-unit-tests
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  build-asan/tests/vexlo-unit-tests --gtest_brief=1

echo "== fuzz smoke run"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DVEXLO_FUZZ=ON -DVEXLO_TESTS=OFF -DVEXLO_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs"
for fuzzer in build-fuzz/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name="$(basename "$fuzzer")"
  corpus="tests/fuzz/corpus/${name#fuzz_}"
  work="$(mktemp -d)"
  [ -d "$corpus" ] && cp -r "$corpus/." "$work/"
  echo "-- $name (${VEXLO_FUZZ_SECONDS:-30} s)"
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" "$fuzzer" -max_total_time="${VEXLO_FUZZ_SECONDS:-30}" -rss_limit_mb=2048 "$work" 2>&1 | tail -n 3
  rm -rf "$work"
done
echo "== all tests passed"
