#!/usr/bin/env bash
# The silences of a long preview: runs the demo station's calendar for DAYS days with
# simulated decks and reads its as-run log for every moment no deck plays between one
# sound's end and the next sound's start. Prints, per kind of hand-over (music, spot,
# jingle, hour on either side), how many there were, how many over 0.1 s and the worst
# ones with their times. A silence held by the operator's pause is not counted.
# Usage: bench/preview_gaps.sh [BUILD_DIR] [DAYS] [START]
#        (default: build 366 "2026-12-07 00:00:00"); a log of the preview is kept in
#        $PREVIEW_LOG when that is set.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="$here/${1:-build}/stavox-mixer"
days="${2:-366}"
start="${3:-2026-12-07 00:00:00}"
[ -x "$binary" ] || { echo "build stavox-mixer first: $binary is missing" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$here/scripts/make-demo-station.sh" "$work/station" >/dev/null 2>&1
mkdir -p "$work/home"
log="${PREVIEW_LOG:-$work/as-run.log}"
(cd "$work/station" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  "$binary" --simulate "$start" --for "${days}d" >"$log")

echo "preview of $days days from $start: $(wc -l <"$log") as-run lines"
awk -F'\t' '
  function ms(t,   y, m, d, days) {  # "YYYY-MM-DD HH:MM:SS.mmm" as ms on one steady count
    y = substr(t, 1, 4) + 0; m = substr(t, 6, 2) + 0; d = substr(t, 9, 2) + 0
    if (m <= 2) { y--; m += 12 }  # days from a fixed origin, March-based (mawk has no mktime)
    days = 365 * y + int(y / 4) - int(y / 100) + int(y / 400) + int((153 * (m - 3) + 2) / 5) + d
    return ((days * 24 + substr(t, 12, 2)) * 60 + substr(t, 15, 2)) * 60000 + substr(t, 18, 6) * 1000
  }
  function silent() { return !playing[0] && !playing[1] && !held }
  $2 == "station" && ($3 == "spot" || $3 == "queue" || $3 == "jingle" || $3 == "announce") {
    coming = $3 == "queue" ? "music" : $3 == "announce" ? "hour" : $3
  }
  $2 ~ /^deck[01]$/ {
    deck = substr($2, 5, 1)
    if ($3 == "load") {
      if (silentSince != "" && ended != "") {
        gap = ms($1) - ms(silentSince)
        kind = ended "->" coming
        count[kind]++
        if (gap > 100) { over[kind]++; if (gap > worst[kind]) { worst[kind] = gap; at[kind] = silentSince } }
      }
      playing[deck] = 1; sound[deck] = coming; silentSince = ""; held = 0
    } else if ($3 == "ended" || $3 == "stop" || $3 == "fadestop") {
      was = playing[0] || playing[1]
      if (playing[deck]) last = sound[deck]
      playing[deck] = 0
      if (was && silent()) { silentSince = $1; ended = last }
    } else if ($3 == "pause" || $3 == "resume") {
      held = !held
    }
  }
  END {
    printf "%-15s %8s %12s %10s  %s\n", "hand-over", "silences", "over 0.1 s", "worst ms", "worst at (silence from)"
    for (k in count) printf "%-15s %8d %12d %10d  %s\n", k, count[k], over[k], worst[k], at[k]
  }' "$log" | sort
