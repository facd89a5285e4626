#!/usr/bin/env bash
# Installs what is missing, configures and builds. --tests also builds the test suites
# and benchmarks (and installs what they need); without it a new build folder holds the
# program alone. VORN_SANITIZER=address|thread builds a sanitizer variant in its own
# folder (build-address, build-thread).
set -euo pipefail
cd "$(dirname "$0")/.."
tests=OFF
[ "${1:-}" = "--tests" ] && tests=ON
if [ "$tests" = ON ]; then ./scripts/setup.sh --tests; else ./scripts/setup.sh; fi
san="${VORN_SANITIZER:-}"
dir="build${san:+-$san}"
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DVORN_SANITIZER="$san" \
    -DVORN_BUILD_TESTS="$tests" -DVORN_BUILD_BENCH="$tests" >/dev/null
elif [ "$tests" = ON ] && grep -q '^VORN_BUILD_TESTS:BOOL=OFF' "$dir/CMakeCache.txt"; then
  # A folder first built for running gains the tests.
  cmake "$dir" -DVORN_BUILD_TESTS=ON -DVORN_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$dir"
