#!/usr/bin/env bash
# Builds and runs the library scale benchmark: RSS per listed song at 100,000 songs, probe
# cost drift over the search, RSS and descriptors over 1,000 song changes. Needs about
# 10 minutes and 100,000 hard links in $TMPDIR.
# Usage: bench/library_scale.sh [build-dir] [songs] [changes]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
cmake --build "$dir" --target library_scale gstzarvex >/dev/null
GST_PLUGIN_PATH="$PWD/$dir/bin" "$dir/bin/library_scale" "${2:-100000}" "${3:-1000}"
