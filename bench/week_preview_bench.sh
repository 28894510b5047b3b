#!/usr/bin/env bash
# Times the week preview: a simulated week of the demo station's full calendar.
# Usage: bench/week_preview_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="$here/${1:-build}/stavox-mixer"
[ -x "$binary" ] || { echo "build stavox-mixer first: $binary is missing" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$here/scripts/make-demo-station.sh" "$work/station" >/dev/null 2>&1
mkdir -p "$work/home"

cd "$work/station"
start=$(date +%s.%N)
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  "$binary" --simulate "2026-12-07 00:00:00" --for 7d >"$work/as-run.log"
end=$(date +%s.%N)

loads=$(grep -c $'\tload\t' "$work/as-run.log" || true)
programs=$(grep -c $'\tstation\tprogram\t' "$work/as-run.log" || true)
printf 'simulated week: %.1f s wall, %s deck loads, %s program loads, %s log lines\n' \
  "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "$loads" "$programs" "$(wc -l <"$work/as-run.log")"
