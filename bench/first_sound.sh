#!/usr/bin/env bash
# Builds and runs the first sound benchmark: the real program from its start to the first
# buffer at its sink, on a one-file folder and on a large tree, against gst-play-1.0.
# The tree is N files (hard links and empty files: a few MB of folders in $TMPDIR).
# Usage: bench/first_sound.sh [build-dir] [runs] [files] [realEvery]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
cmake --build "$dir" --target first_sound vorn gstzarvex >/dev/null
export QT_QPA_PLATFORM=offscreen GST_PLUGIN_PATH="$PWD/$dir/bin"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$dir/bin/first_sound" "$PWD/$dir/bin/vorn" "${2:-7}" "${3:-100000}" "${4:-10}"
