#!/usr/bin/env bash
# Times the week's pre-flight check against the week preview on the demo station, and
# fails when the demo station is not clean or the check of 7 days takes 2 s or more.
# Usage: bench/check_bench.sh [BUILD_DIR] [DEMO_STATION]
#   BUILD_DIR defaults to build; DEMO_STATION is a demo station made earlier by
#   scripts/make-demo-station.sh (one is made in a temporary folder without it).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="$here/${1:-build}/stavox-mixer"
[ -x "$binary" ] || { echo "build stavox-mixer first: $binary is missing" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
station="${2:-$work/station}"
"$here/scripts/make-demo-station.sh" "$station" >/dev/null 2>&1
mkdir -p "$work/home"
cd "$station"
run() { HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" "$binary" "$@"; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

start=$(date +%s.%N)
run --simulate "2026-12-07 00:00:00" --for 7d >/dev/null
preview=$(seconds "$start" "$(date +%s.%N)")

times=()
for _ in 1 2 3 4 5; do
  start=$(date +%s.%N)
  status=0
  run --check --from "2026-12-07 00:00:00" --for 7d >"$work/check.out" || status=$?
  times+=("$(seconds "$start" "$(date +%s.%N)")")
done
mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
printf 'week preview (--simulate, 7d): %s s\n' "$preview"
printf 'week check (--check, 7d), 5 runs: best %s s, median %s s, worst %s s\n' \
  "${sorted[0]}" "${sorted[2]}" "${sorted[4]}"

if [ "$status" -ne 0 ] || [ "$(cat "$work/check.out")" != "# 0 warnings" ]; then
  echo "the demo station is not clean (exit $status):" >&2
  cat "$work/check.out" >&2
  exit 1
fi
awk -v t="${sorted[2]}" 'BEGIN { exit !(t < 2) }' || { echo "the check takes 2 s or more" >&2; exit 1; }
echo "demo station clean"
