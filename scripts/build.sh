#!/usr/bin/env bash
# Installs what is missing, configures and builds. VORN_SANITIZER=address|thread builds
# a sanitizer variant in its own folder (build-address, build-thread).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
san="${VORN_SANITIZER:-}"
dir="build${san:+-$san}"
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DVORN_SANITIZER="$san" >/dev/null
fi
cmake --build "$dir"
