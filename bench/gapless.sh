#!/usr/bin/env bash
# Builds and runs the gapless benchmark: vorn and gst-play-1.0 --gapless play pairs of
# songs to a private PulseAudio null sink, whose recording shows each join.
# Needs pulseaudio and pulseaudio-utils (scripts/setup.sh --tests installs them).
# Usage: bench/gapless.sh [build-dir] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
cmake --build "$dir" --target gapless vorn gstzarvex >/dev/null
export GST_PLUGIN_PATH="$PWD/$dir/bin"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$dir/bin/gapless" "$PWD/$dir/bin/vorn" "${2:-3}"
