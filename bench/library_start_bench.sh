#!/usr/bin/env bash
# Times the studio window's start on a large library (500 lists, 100 000 track lines made
# by library_bench --make-library) to the moment its window is shown on a virtual X display,
# with simulated decks. Five runs; the files are in the page cache after the first.
# Usage: bench/library_start_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/${1:-build}"
for binary in "$build/stavox-mixer" "$build/bench/library_bench"; do
  [ -x "$binary" ] || { echo "build it first: $binary is missing" >&2; exit 1; }
done
command -v Xvfb >/dev/null || { echo "Xvfb is needed: scripts/install-deps.sh --tests" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/station" "$work/config" "$work/run"
chmod 700 "$work/run"
"$build/bench/library_bench" --make-library "$work/station"

display=80
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1366x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
export DISPLAY=":$display"

cd "$work/station"
for run in 1 2 3 4 5; do
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
    python3 - "$here/scripts" "$build/stavox-mixer" <<'EOF'
# Starts the mixer and polls the display every millisecond for its window, shown.
import subprocess, sys, time
sys.dont_write_bytecode = True  # nothing left behind in scripts/
sys.path.insert(0, sys.argv[1])
from mixer_window import open_display, mixer_window, is_shown

display = open_display()
start = time.monotonic()
mixer = subprocess.Popen([sys.argv[2], "--player", "simulated"], stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
while mixer.poll() is None and time.monotonic() - start < 60:
    window = mixer_window(display)
    if window and is_shown(display, window):
        break
    time.sleep(0.001)
shown_ms = (time.monotonic() - start) * 1000
mixer.terminate()
mixer.wait()
print("window shown after %d ms" % shown_ms)
EOF
done
