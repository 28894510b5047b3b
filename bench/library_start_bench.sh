#!/usr/bin/env bash
# Times the studio window's start on a large library (500 lists, 100 000 track lines made
# by library_bench --make-library) to its first painted frame, on Qt's offscreen platform
# with simulated decks. Five runs; the files are in the page cache after the first.
# Usage: bench/library_start_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/${1:-build}"
for binary in "$build/stavox-mixer" "$build/bench/library_bench"; do
  [ -x "$binary" ] || { echo "build it first: $binary is missing" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/station" "$work/config" "$work/run"
chmod 700 "$work/run"
"$build/bench/library_bench" --make-library "$work/station"

cd "$work/station"
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  report=$(QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
    STAVOX_REPORT_FIRST_PAINT=1 "$build/stavox-mixer" --player simulated 2>&1 >/dev/null |
    grep 'first paint' || true)
  end=$(date +%s%N)
  printf 'run %s: %s; process start to exit %d ms\n' "$run" "${report:-no paint reported}" \
    $(((end - start) / 1000000))
done
