#!/usr/bin/env bash
# Measures the silence a listener hears at each hand-over, on the recording of real mpv
# decks playing into a private sound server: music into a spot break, spot to spot, the
# last spot back to the music, a track-to-track crossfade and a jingle over the music. Runs
# the on-air test HandOverTest RUNS times (about a minute each) and prints, per kind of
# hand-over, how many were measured and the median and worst silence: the longest run of
# 20 ms windows at -40 dBFS or less within 1.5 s of it. The test fails on a silence over
# 60 ms; its runs are counted here all the same.
# Usage: bench/handover_gaps.sh [BUILD_DIR] [RUNS]   (default: build 3)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="$here/${1:-build}/tests/integration/test_on_air"
runs="${2:-3}"
[ -x "$binary" ] || { echo "build test_on_air first: $binary is missing" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
for run in $(seq "$runs"); do
  if ! STAVOX_GAPS_REPORT="$work/gaps.tsv" "$binary" \
    --gtest_filter='HandOverTest.*' >"$work/run$run.log" 2>&1; then
    failed=$((failed + 1))
  fi
  if grep -q '^\[  SKIPPED \]' "$work/run$run.log"; then cat "$work/run$run.log" >&2; exit 1; fi
done
[ -s "$work/gaps.tsv" ] || { echo "no hand-over measured; the last run said:" >&2; cat "$work/run$runs.log" >&2; exit 1; }

echo "hand-over gaps over $runs run(s) of $binary ($failed failed):"
sort -t$'\t' -k1,1 -k3,3n "$work/gaps.tsv" | awk -F'\t' '
  { n[$1]++; ms[$1, n[$1]] = $3; if (!($1 in low) || $4 < low[$1]) low[$1] = $4 }
  END {
    printf "%-11s %5s %11s %10s %14s\n", "kind", "count", "median ms", "worst ms", "quietest dBFS"
    # -200 dB is a window of digital silence
    split("music-spot spot-spot spot-music crossfade jingle", order, " ")
    for (i = 1; i <= 5; i++) {
      k = order[i]
      if (!(k in n)) continue
      c = n[k]
      median = c % 2 ? ms[k, (c + 1) / 2] : (ms[k, c / 2] + ms[k, c / 2 + 1]) / 2
      quietest = low[k] <= -200 ? "silence" : sprintf("%.1f", low[k])
      printf "%-11s %5d %11d %10d %14s\n", k, c, median, ms[k, c], quietest
    }
  }'
