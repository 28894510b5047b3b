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
    python3 - "$build/stavox-mixer" <<'EOF'
# Starts the mixer and polls the display every millisecond for its window, viewable.
import ctypes, ctypes.util, subprocess, sys, time

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]

class Attributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                ("depth", ctypes.c_int), ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong),
                ("class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
                ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                ("screen", ctypes.c_void_p)]
x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                     ctypes.POINTER(Attributes)]
IS_VIEWABLE = 2

display = x11.XOpenDisplay(None)
def shown():
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    x11.XQueryTree(display, x11.XDefaultRootWindow(display), ctypes.byref(root),
                   ctypes.byref(parent), ctypes.byref(children), ctypes.byref(count))
    for i in range(count.value):
        name = ctypes.c_char_p()
        if x11.XFetchName(display, children[i], ctypes.byref(name)) and name.value and \
                name.value.decode("utf-8", "replace").startswith("Stavox Mixer "):
            attributes = Attributes()
            x11.XGetWindowAttributes(display, children[i], ctypes.byref(attributes))
            if attributes.map_state == IS_VIEWABLE:
                return True
    return False

start = time.monotonic()
mixer = subprocess.Popen([sys.argv[1], "--player", "simulated"], stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
while not shown() and mixer.poll() is None and time.monotonic() - start < 60:
    time.sleep(0.001)
shown_ms = (time.monotonic() - start) * 1000
mixer.terminate()
mixer.wait()
print("window shown after %d ms" % shown_ms)
EOF
done
