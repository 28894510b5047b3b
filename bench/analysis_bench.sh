#!/usr/bin/env bash
# The analysis of tracks against the tools a station might use instead, on the same files
# in the same run: `stavox-mixer --analyze` on one thread and on every core, FFmpeg's
# ebur128 filter (one process a file), bs1770gain and loudgain (each given every file at
# once, integrated loudness and true peak asked). Prints files and audio hours analysed
# per second of wall time, and how far our loudness is from FFmpeg's (the largest
# difference, in LU). The files are made here: FILES tracks of SECONDS each (tones,
# noise, padded with silence, clipped, mono and stereo, several bit rates).
# Usage: bench/analysis_bench.sh [BUILD_DIR] [FILES] [SECONDS]   (default: build 40 60)
# Needs ffmpeg; bs1770gain and loudgain are measured when installed
# (scripts/install-deps.sh --bench).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="$here/${1:-build}/stavox-mixer"
count="${2:-40}"
seconds="${3:-60}"
[ -x "$binary" ] || { echo "build stavox-mixer first: $binary is missing" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sources=("sine=f=440:d=$seconds,volume=-6dB"
         "anoisesrc=c=pink:d=$seconds:a=0.2"
         "sine=f=220:d=$((seconds - 8)),volume=-20dB,apad=pad_dur=8"
         "sine=f=100:d=$seconds,volume=18dB"
         "anoisesrc=c=brown:d=$((seconds - 4)):a=0.5,adelay=4s:all=1")
outputs=("-b:a 320k" "-b:a 128k -ac 1" "-b:a 192k" "-b:a 96k" "-b:a 256k")
files=()
for i in $(seq 0 $((count - 1))); do
  k=$((i % ${#sources[@]}))
  file="$work/track $i.mp3"
  # shellcheck disable=SC2086
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "${sources[$k]}" ${outputs[$k]} "$file"
  files+=("$file")
done
hours=$(awk -v n="$count" -v s="$seconds" 'BEGIN { print n * s / 3600 }')

# Runs the command, prints its rate; its output goes to $work/last.out.
measure() {
  local name="$1"; shift
  local start end
  start=$(date +%s.%N)
  if ! "$@" >"$work/last.out" 2>"$work/last.err"; then
    echo "$name: failed: $(head -c 300 "$work/last.err")" >&2; return 0
  fi
  end=$(date +%s.%N)
  awk -v name="$name" -v a="$start" -v b="$end" -v n="$count" -v h="$hours" 'BEGIN {
    t = b - a; printf "%-30s %8.2f s %9.1f files/s %9.3f audio h/s\n", name, t, n / t, h / t }'
}

cores=$(nproc)
echo "$count files of $seconds s ($hours audio hours), $cores cores"
export XDG_CACHE_HOME="$work/cache"  # nothing is taken from an earlier run's cache
measure "stavox-mixer --jobs 1" "$binary" --analyze --jobs 1 "${files[@]}"
rm -rf "$work/cache"
measure "stavox-mixer --jobs $cores" "$binary" --analyze --jobs "$cores" "${files[@]}"
cp "$work/last.out" "$work/ours.tsv"
ffmpeg_each() {
  for f in "$@"; do
    printf '%s\t' "$f"
    ffmpeg -nostdin -hide_banner -nostats -i "$f" -af ebur128=peak=true -f null - 2>&1 |
      awk '/I:/ { i = $2 } END { print i }'
  done
}
measure "ffmpeg ebur128, a process each" ffmpeg_each "${files[@]}"
cp "$work/last.out" "$work/ffmpeg.tsv"
if command -v bs1770gain >/dev/null; then
  measure "bs1770gain" bs1770gain --integrated --truepeak "${files[@]}"
fi
if command -v loudgain >/dev/null; then
  measure "loudgain" loudgain -q -O "${files[@]}"
fi
# The largest difference of our loudness from FFmpeg's, file by file.
awk -F'\t' 'NR == FNR { ff[$1] = $2; next }
  { d = $1 - ff[$5]; if (d < 0) d = -d; if (d > worst) worst = d }
  END { printf "largest loudness difference from ffmpeg ebur128: %.2f LU\n", worst }' \
  "$work/ffmpeg.tsv" "$work/ours.tsv"
