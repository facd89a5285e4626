#!/usr/bin/env bash
# Takes the screenshots in docs/ from the real program on a real desktop: its own Xvfb,
# openbox and tint2 as the tray host; vorn driven with xdotool, the screen saved with
# `import -window root` and cut to the windows shown (frames included).
# Usage: scripts/screenshots.sh [OUT_DIR]   (default docs/; needs a built build/)
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs}")"
bin="$PWD/build/bin"
work="$(mktemp -d)"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

wait_for() { # wait_for LIMIT_SECONDS COMMAND...: polls until COMMAND succeeds
  local limit=$1; shift
  for _ in $(seq $((limit * 10))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "screenshots: gave up waiting for: $*" >&2; return 1
}

Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp 4>"$work/display" 2>"$work/xvfb.log" & pids+=($!)
wait_for 30 test -s "$work/display"
export DISPLAY=":$(head -1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
unset DBUS_SESSION_BUS_ADDRESS
wait_for 30 xdpyinfo
openbox --sm-disable 2>"$work/openbox.log" & pids+=($!)
wait_for 30 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
tint2 >"$work/tint2.log" 2>&1 & pids+=($!)
wait_for 30 sh -c 'xprop -root _NET_SYSTEM_TRAY_ORIENTATION >/dev/null; xwininfo -root -tree | grep -q tint2'

# An album in a folder with a Japanese name: each song tagged with its artist, album,
# title and track number, a cover beside them; a history to show.
media="$work/音楽"; mkdir -p "$media"
track=0
for title in "River" "Morning" "Night Train" "Untitled" "Rain" "Harbour"; do
  track=$((track + 1))
  gst-launch-1.0 -q audiotestsrc num-buffers=2600 freq=$((200 + 60 * track)) ! lamemp3enc ! \
    taginject "tags=\"artist=(string)\\\"Mika Aoyama\\\",album=(string)\\\"Harbour Lights\\\",title=(string)\\\"$title\\\",track-number=(uint)$track\"" ! \
    id3v2mux ! filesink "location=$media/0$track $title.mp3"
done
gst-launch-1.0 -q videotestsrc num-buffers=1 pattern=smpte ! video/x-raw,width=300,height=300 ! \
  jpegenc ! filesink "location=$media/cover.jpg"
cat >"$work/tvorn.ini" <<INI
[App]
left=60
top=60
[FolderHistory]
Dir0=/home/user/音楽/ジャズ/Live at the Village
Dir1=/home/user/Music
INI

VORN_AUDIO_SINK="fakesink sync=true" GST_PLUGIN_PATH="$bin" "$bin/vorn" --ini "$work/tvorn.ini" \
  >"$work/vorn.log" 2>&1 & vorn=$!; pids+=($vorn)

window_named() { # the viewable window of vorn with that exact title
  for w in $(xdotool search --pid "$vorn" 2>/dev/null); do
    [ "$(xdotool getwindowname "$w")" = "$1" ] || continue
    xwininfo -id "$w" | grep -q IsViewable && { echo "$w"; return 0; }
  done; return 1
}
is_tray_icon() { # the small window embedded into the tray host
  xwininfo -id "$1" | awk '/Width/{w=$2} /Height/{h=$2} END{exit !(w <= 32 && h <= 32)}'
}
viewable_windows() { # every viewable window of vorn but the tray icon
  for w in $(xdotool search --pid "$vorn" 2>/dev/null); do
    xwininfo -id "$w" | grep -q IsViewable || continue
    is_tray_icon "$w" && continue
    echo "$w"
  done
}
count_viewable() { [ "$(viewable_windows | wc -l)" -ge "$1" ]; }
only_one_viewable() { [ "$(viewable_windows | wc -l)" -le 1 ]; }
# shot NAME [WINDOW...]: the screen cut to the union of the windows (default: every
# viewable window of vorn), frames included.
shot() {
  local name=$1; shift
  local x0=99999 y0=99999 x1=0 y1=0 pad=4
  for w in ${*:-$(viewable_windows)}; do
    read -r x y wd ht < <(xwininfo -id "$w" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2} /Height/{h=$2} END{print x, y, w, h}')
    ext=$(xprop -id "$w" -notype _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ' ')
    IFS=, read -r l r t b <<<"${ext:-0,0,0,0}"
    (( x - l < x0 )) && x0=$((x - l)); (( y - t < y0 )) && y0=$((y - t))
    (( x + wd + r > x1 )) && x1=$((x + wd + r)); (( y + ht + b > y1 )) && y1=$((y + ht + b))
  done
  x0=$((x0 > pad ? x0 - pad : 0)); y0=$((y0 > pad ? y0 - pad : 0)); x1=$((x1 + pad)); y1=$((y1 + pad))
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage "$out/$name.png"
  echo "screenshots: $out/$name.png"
}

wait_for 30 window_named "tavik Vornel"
bar=$(window_named "tavik Vornel")
xdotool mousemove 1000 700
sleep 0.5   # the bar's first paint; nothing waits on it
shot main-bar

# The mode menu, under the mode button.
read -r X Y < <(xwininfo -id "$bar" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')
xdotool mousemove $((X + 95)) $((Y + 12)) click 1
wait_for 10 count_viewable 2
shot main-mode-menu
xdotool key Escape
wait_for 10 only_one_viewable

# The combo box's tooltip.
xdotool mousemove $((X + 300)) $((Y + 12)); sleep 0.2; xdotool mousemove $((X + 302)) $((Y + 13))
wait_for 10 count_viewable 2
shot main-bar-tooltip
xdotool mousemove 1000 700

# The about box from the bar's context menu (its last item).
xdotool mousemove $((X + 40)) $((Y + 12)) click 3
wait_for 10 count_viewable 2
xdotool key Up Return
wait_for 10 count_viewable 2
about=$(viewable_windows | grep -v "^$bar$" | head -1)
xdotool windowmove "$about" 150 300
sleep 0.5
shot about-box "$about"
xdotool windowactivate --sync "$about" key Escape 2>/dev/null || true
wait_for 10 only_one_viewable

# The settings sheet from the tray menu: its first item.
read -r tx ty < <(for w in $(xdotool search --pid "$vorn"); do is_tray_icon "$w" && xwininfo -id "$w" | awk '/IsViewable/{v=1} /Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{if (v) print x+11, y+11}'; done | head -1)
xdotool mousemove "$tx" "$ty" click 3
wait_for 10 count_viewable 2
import -window root "$work/screen.png"
convert "$work/screen.png" -crop 420x150+860+650 +repage "$out/tray-menu.png"
echo "screenshots: $out/tray-menu.png"
xdotool key Down Return
wait_for 10 count_viewable 2
sheet=$(viewable_windows | grep -v "^$bar$" | head -1)
xdotool windowactivate --sync "$sheet"
sleep 0.3
shot settings-other "$sheet"
xdotool key ctrl+Tab; sleep 0.3
shot settings-play "$sheet"
xdotool key Escape
wait_for 10 only_one_viewable

# A session over the folder, started from the command line.
xdotool windowactivate --sync "$bar" key alt+e
wait_for 30 sh -c "! kill -0 $vorn"
VORN_AUDIO_SINK="fakesink sync=true" GST_PLUGIN_PATH="$bin" "$bin/vorn" --ini "$work/tvorn.ini" \
  "$media" >>"$work/vorn.log" 2>&1 & vorn=$!; pids+=($vorn)
playing() { for w in $(xdotool search --pid "$vorn" 2>/dev/null); do
  xdotool getwindowname "$w" | grep -q ' Playing \.\.$' && { echo "$w"; return 0; }; done; return 1; }
wait_for 30 playing
player=$(playing)
sleep 2   # a few position ticks, so the time shows
shot player-window "$player"
xdotool windowactivate --sync "$player" key Return
wait_for 10 count_viewable 2
shot player-menu
xdotool key Up Up Up Up Return
wait_for 10 count_viewable 2
sleep 0.3
list=$(viewable_windows | grep -v "^$player$" | head -1)
shot player-list "$list"
