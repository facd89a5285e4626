#!/usr/bin/env bash
# Builds and runs every test. Extra arguments go to ctest (for example -R Sequencer).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh --tests
san="${VORN_SANITIZER:-}"
dir="build${san:+-$san}"
ctest --test-dir "$dir" --output-on-failure -j2 "$@"
