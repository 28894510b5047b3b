#!/usr/bin/env bash
# Installs what is missing, builds, and starts the mixer.
# Arguments are passed to stavox-mixer.
#
# The station is the current folder when it holds "pro1" or "days1". Anywhere else (the
# repository itself, say) the demo station in <repository>/demo-station is used, made
# on the first start. Without a display the window is drawn off screen and the station
# prints its as-run log.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
(
  cd "$here"
  ./scripts/install-deps.sh
  cmake --preset default >/dev/null
  cmake --build --preset default -j"$(nproc)" --target stavox-mixer
)

# --track-length reads the files it is given, relative to where it was asked.
station_needed=yes
for arg in "$@"; do
  [ "$arg" = "--track-length" ] && station_needed=no
done

if [ "$station_needed" = yes ] && [ ! -d pro1 ] && [ ! -d days1 ]; then
  "$here/scripts/make-demo-station.sh" "$here/demo-station"
  cd "$here/demo-station"
  echo "No station in this folder: starting the demo station in $PWD" >&2
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the station runs" \
    "headless and prints its as-run log here. Stop it with Ctrl+C." >&2
fi

exec "$here/build/stavox-mixer" "$@"
