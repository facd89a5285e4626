#!/usr/bin/env bash
# Builds and runs the probe cost benchmark: CPU time per file of the song searcher's media
# probe against GstDiscoverer in the same process. Targets per file: at most 1x the
# discoverer on WAV, MP3 and FLAC, at most 0.5x on AVI, MP4 and WebM.
# Usage: bench/probe_throughput.sh [build-dir] [rounds] [links] [format]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
cmake --build "$dir" --target probe_throughput gstzarvex >/dev/null
GST_PLUGIN_PATH="$PWD/$dir/bin" "$dir/bin/probe_throughput" "${2:-7}" "${3:-10}" ${4:+"$4"}
