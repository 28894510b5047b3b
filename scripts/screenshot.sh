#!/usr/bin/env bash
# Takes a screenshot of the studio window while it plays the demo station, on a virtual
# X display of 1366×768 (the smallest screen the window is laid out for).
#
# Usage: scripts/screenshot.sh [OUTPUT.png]        (default: docs/screenshot.png)
#
# The mixer runs with simulated decks (no sound) and settings and a cache of its own, so the
# operator's settings are never touched. STAVOX_BUILD_DIR names a build to use instead of
# building the default preset; STAVOX_DEMO_STATION names a demo station folder to reuse
# (made there by scripts/make-demo-station.sh when missing). STAVOX_SCREENSHOT_PAGE names
# the page shown by its tab's caption (a program page, Jingles beside the played list, or
# a library page): Spots unless told, with the spots of the coming quarter, which "Next
# Spots" beside the clock lists too. STAVOX_SCREENSHOT_SEARCH is typed into the library's
# search box, with the Greek and Latin search on.
#
# STAVOX_SCREENSHOT_SETTINGS holds more lines for the run's settings file, e.g. a [Stream1]
# group that streams the air to an Icecast server of your own.
#
# STAVOX_SCREENSHOT_AIR=sound plays the demo on real mpv decks into a sound server of the
# script's own (a PulseAudio daemon with a null sink), so the air's meters beside the clock
# move; STAVOX_SCREENSHOT_AIR=silence then mutes that sink and waits out the dead-air alarm.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m -- "${1:-$here/docs/screenshot.png}")"
width=1366
height=768
settle_seconds=9 # start wait (1 s), the first tick, then a few seconds of the first track

"$here/scripts/install-deps.sh" --screenshot
air="${STAVOX_SCREENSHOT_AIR:-}"
case "$air" in
  "" | sound | silence) ;;
  *) echo "screenshot: STAVOX_SCREENSHOT_AIR is sound or silence, not $air" >&2; exit 2 ;;
esac
if [ -n "${STAVOX_BUILD_DIR:-}" ]; then
  build="$(realpath -- "$STAVOX_BUILD_DIR")"
  cmake --build "$build" --target stavox-mixer >/dev/null
else
  (cd "$here" && cmake --preset default >/dev/null &&
    cmake --build --preset default --target stavox-mixer >/dev/null)
  build="$here/build"
fi

work="$(mktemp -d)"
xvfb_pid=""
mixer_pid=""
pulse_pid=""
cleanup() {
  [ -n "$mixer_pid" ] && kill "$mixer_pid" 2>/dev/null && wait "$mixer_pid" 2>/dev/null
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf -- "$work"
}
trap cleanup EXIT

station="${STAVOX_DEMO_STATION:-$work/station}"
"$here/scripts/make-demo-station.sh" "$station"

# Settings of this run only: a short start wait, everything else at its default.
mkdir -p "$work/config/Kelmar" "$work/run"
chmod 700 "$work/run"
# With sound, the line input takes the monitor of an output of its own, never the air's.
line_in=""
[ -n "$air" ] && line_in="LineInSource=line.monitor"
printf '[General]\nWaitSecInBeggining=1\nGreeklishSearch=1\n%s\n%s\n' "$line_in" \
  "${STAVOX_SCREENSHOT_SETTINGS:-}" >"$work/config/Kelmar/Stavox.conf"

# A free display number.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 "${width}x${height}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || {
  cat "$work/xvfb.log" >&2
  echo "screenshot: Xvfb did not start" >&2
  exit 1
}
export DISPLAY=":$display"

player=simulated
if [ -n "$air" ]; then
  mkdir -p "$work/pulse"
  chmod 700 "$work/pulse"
  HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse" pulseaudio -n --daemonize=no \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" \
    --load="module-null-sink sink_name=air" --load="module-null-sink sink_name=line" \
    --exit-idle-time=-1 --use-pid-file=no \
    --realtime=no --high-priority=no --log-target=stderr --log-level=error \
    >"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  export PULSE_SERVER="unix:$work/pulse/native"
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  pactl set-default-sink air
  player=mpv
fi
(cd "$station" && XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" XDG_CACHE_HOME="$work/cache" \
  exec "$build/stavox-mixer" --player "$player") >"$work/mixer.log" 2>&1 &
mixer_pid=$!
# The page and the search are asked for through the station's control socket, as any
# other program of the user would.
send() {
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" "$build/stavox-mixer" --send "$@" >/dev/null
}

# There is no window manager to maximise the window: give it the whole screen by hand.
python3 - "$here/scripts" "$width" "$height" <<'EOF'
import sys, time
sys.dont_write_bytecode = True  # nothing left behind in scripts/
sys.path.insert(0, sys.argv[1])
from mixer_window import open_display, mixer_window, fill_screen, x11

width, height = int(sys.argv[2]), int(sys.argv[3])
display = open_display()
if not display:
    sys.exit("screenshot: cannot open the display")
for _ in range(100):
    window = mixer_window(display)
    if window:
        fill_screen(display, window, width, height)
        break
    time.sleep(0.1)
else:
    sys.exit("screenshot: the mixer's window did not appear")
x11.XCloseDisplay(display)
EOF

for _ in $(seq 50); do
  send show-page "${STAVOX_SCREENSHOT_PAGE:-Spots}" 2>/dev/null && break
  sleep 0.2
done
if [ -n "${STAVOX_SCREENSHOT_SEARCH:-}" ]; then
  send library-search "$STAVOX_SCREENSHOT_SEARCH"
fi
sleep "$settle_seconds"
if [ "$air" = silence ]; then
  pactl set-sink-mute air 1
  sleep 7 # the alarm's five seconds, and its first step
fi
kill -0 "$mixer_pid" 2>/dev/null || {
  cat "$work/mixer.log" >&2
  echo "screenshot: the mixer stopped" >&2
  exit 1
}
mkdir -p "$(dirname -- "$out")"
import -window root "$out"
echo "Screenshot written to $out" >&2
