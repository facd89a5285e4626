#!/usr/bin/env bash
# Builds and runs the probe throughput benchmark. Targets per file: at most 0.5x the time
# of gst-discoverer-1.0 on video files, at most 1x on audio files.
# Usage: bench/probe_throughput.sh [build-dir] [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
command -v gst-discoverer-1.0 >/dev/null || { echo "gst-discoverer-1.0 missing (gstreamer1.0-plugins-base-apps)"; exit 1; }
cmake --build "$dir" --target probe_throughput gstzarvex >/dev/null
GST_PLUGIN_PATH="$PWD/$dir/bin" "$dir/bin/probe_throughput" "${2:-3}"
