#!/usr/bin/env bash
# Takes a screenshot of the studio window while it plays the demo station, on a virtual
# X display of 1366×768 (the smallest screen the window is laid out for).
#
# Usage: scripts/screenshot.sh [OUTPUT.png]        (default: docs/screenshot.png)
#
# The mixer runs with simulated decks (no sound) and a settings folder of its own, so the
# operator's settings are never touched. STAVOX_BUILD_DIR names a build to use instead of
# building the default preset; STAVOX_DEMO_STATION names a demo station folder to reuse
# (made there by scripts/make-demo-station.sh when missing). STAVOX_SCREENSHOT_PAGE names
# the page shown by its tab's caption (a program page, Jingles beside the played list, or
# a library page): Spots unless told, with the spots of the coming quarter, which "Next
# Spots" beside the clock lists too. STAVOX_SCREENSHOT_SEARCH is typed into the library's
# search box, with the Greek and Latin search on.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m -- "${1:-$here/docs/screenshot.png}")"
width=1366
height=768
settle_seconds=9 # start wait (1 s), the first tick, then a few seconds of the first track

"$here/scripts/install-deps.sh" --screenshot
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
cleanup() {
  [ -n "$mixer_pid" ] && kill "$mixer_pid" 2>/dev/null && wait "$mixer_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf -- "$work"
}
trap cleanup EXIT

station="${STAVOX_DEMO_STATION:-$work/station}"
"$here/scripts/make-demo-station.sh" "$station"

# Settings of this run only: a short start wait, everything else at its default.
mkdir -p "$work/config/Kelmar" "$work/run"
chmod 700 "$work/run"
printf '[General]\nWaitSecInBeggining=1\nGreeklishSearch=1\n' >"$work/config/Kelmar/Stavox.conf"

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

(cd "$station" && XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
  exec "$build/stavox-mixer" --player simulated) >"$work/mixer.log" 2>&1 &
mixer_pid=$!
# The page and the search are asked for through the station's control socket, as any
# other program of the user would.
send() {
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" "$build/stavox-mixer" --send "$@" >/dev/null
}

# There is no window manager to maximise the window: give it the whole screen by hand.
python3 - "$width" "$height" <<'EOF'
import ctypes, ctypes.util, sys, time

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
x11.XMoveResizeWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

width, height = int(sys.argv[1]), int(sys.argv[2])
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("screenshot: cannot open the display")

def main_window():
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    x11.XQueryTree(display, x11.XDefaultRootWindow(display), ctypes.byref(root),
                   ctypes.byref(parent), ctypes.byref(children), ctypes.byref(count))
    for i in range(count.value):
        name = ctypes.c_char_p()
        if x11.XFetchName(display, children[i], ctypes.byref(name)) and name.value:
            if name.value.decode("utf-8", "replace").startswith("Stavox Mixer "):
                return children[i]
    return None

for _ in range(100):
    window = main_window()
    if window:
        x11.XMoveResizeWindow(display, window, 0, 0, width, height)
        x11.XFlush(display)
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
kill -0 "$mixer_pid" 2>/dev/null || {
  cat "$work/mixer.log" >&2
  echo "screenshot: the mixer stopped" >&2
  exit 1
}
mkdir -p "$(dirname -- "$out")"
import -window root "$out"
echo "Screenshot written to $out" >&2
