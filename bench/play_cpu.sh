#!/usr/bin/env bash
# CPU cost of playing a video file for its sound alone. Makes a 20-second AVI (MJPEG
# 640x480 at 30 frames/s with PCM sound) and a WAV of the same sound, then measures the
# CPU seconds (user + system) of:
#   avi    vorn's MediaGraph playing the AVI (video left compressed, discarded by Zarvex)
#   wav    vorn's MediaGraph playing the WAV (the sound alone)
#   decode playbin playing the AVI with every frame decoded, into fakesinks
# All three play in real time against the clock ("fakesink sync=true"), so each run takes
# about 20 seconds. Targets: avi <= 1.3 x wav and avi <= 0.3 x decode.
#
# Usage: bench/play_cpu.sh [BUILD_DIR]   (default: build; RUNS=n repeats, default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${RUNS:-3}"
player="$build/bin/bench_play_file"
if [ ! -x "$player" ]; then
  echo "missing $player: build the bench_play_file target first" >&2
  exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
avi="$work/clip.avi"
wav="$work/clip.wav"

# 200 buffers of 4410 samples at 44.1 kHz: exactly 20 seconds; 600 frames at 30/1 likewise.
sound="audiotestsrc wave=sine freq=440 samplesperbuffer=4410 num-buffers=200 \
  ! audio/x-raw,format=S16LE,rate=44100,channels=2"
gst-launch-1.0 -q \
  videotestsrc num-buffers=600 horizontal-speed=4 \
  ! video/x-raw,width=640,height=480,framerate=30/1 ! jpegenc ! queue ! avimux name=mux \
  ! filesink location="$avi" \
  $sound ! queue ! mux.
gst-launch-1.0 -q $sound ! wavenc ! filesink location="$wav"

export VORN_AUDIO_SINK="fakesink sync=true"
export GST_PLUGIN_PATH="$PWD/$build/bin${GST_PLUGIN_PATH:+:$GST_PLUGIN_PATH}"

# CPU seconds (user + system) of one run of the command, to the millisecond.
cpu_seconds() {
  local TIMEFORMAT="%3U %3S" times
  if ! times="$( { time "$@" >/dev/null 2>"$work/stderr.txt"; } 2>&1 )"; then
    echo "failed: $*" >&2
    cat "$work/stderr.txt" >&2
    exit 1
  fi
  awk '{ printf "%.3f", $1 + $2 }' <<<"$times"
}

# Median of the CPU seconds of $runs runs.
measure() {
  local values=()
  for _ in $(seq "$runs"); do values+=("$(cpu_seconds "$@")"); done
  printf '%s\n' "${values[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

avi_cpu="$(measure "$player" "$avi")"
wav_cpu="$(measure "$player" "$wav")"
decode_cpu="$(measure gst-launch-1.0 -q playbin "uri=file://$avi" \
  "video-sink=fakesink sync=true" "audio-sink=fakesink sync=true")"

echo "CPU seconds, median of $runs runs of a 20-second file:"
printf '  %-40s %7.3f\n' "AVI through MediaGraph (Zarvex)" "$avi_cpu" \
  "WAV through MediaGraph (sound alone)" "$wav_cpu" \
  "AVI through playbin, video decoded" "$decode_cpu"
awk -v a="$avi_cpu" -v w="$wav_cpu" -v d="$decode_cpu" 'BEGIN {
  rw = (w > 0) ? a / w : 0; rd = (d > 0) ? a / d : 0
  printf "  AVI / WAV    = %.2f (target <= 1.30) %s\n", rw, (rw <= 1.3 ? "ok" : "MISSED")
  printf "  AVI / decode = %.2f (target <= 0.30) %s\n", rd, (rd <= 0.3 ? "ok" : "MISSED")
  exit (rw <= 1.3 && rd <= 0.3) ? 0 : 1
}'
