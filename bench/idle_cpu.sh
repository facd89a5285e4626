#!/usr/bin/env bash
# Idle cost of the real program: started on a one-file folder, its session ends and it
# sits on the main bar; its CPU time (user + system, from /proc) is measured over a
# quiet stretch and printed as a share of one core. Target: at most 0.2 %.
# Usage: bench/idle_cpu.sh [build-dir] [seconds=20]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
seconds="${2:-20}"
cmake --build "$dir" --target vorn gstzarvex >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/one"
gst-launch-1.0 -q audiotestsrc num-buffers=20 ! wavenc ! filesink location="$work/one/a.wav"
printf '[OhterSettings]\nisEndAndPlay=0\n' >"$work/vorn.ini"
export QT_QPA_PLATFORM=offscreen GST_PLUGIN_PATH="$PWD/$dir/bin" VORN_AUDIO_SINK="fakesink sync=true"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work}"
"$dir/bin/vorn" --ini "$work/vorn.ini" "$work/one" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
sleep 3  # the half-second song plays and the session hands back to the main bar
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
start=$(ticks)
sleep "$seconds"
end=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((end - start)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "idle     %.3f %% of a core over %d s on the main bar (target <= 0.2)\n", 100 * t / hz / s, s }'
