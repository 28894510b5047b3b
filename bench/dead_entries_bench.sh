#!/usr/bin/env bash
# Times `stavox-mixer --dead-entries songs` on a large library: 500 lists, 100 000 track
# lines (library_bench --make-library) naming about 20 000 distinct files below a temporary
# root, every other one of which exists (an empty file). Five runs; the lists and the
# file system's entries are in the page cache after the first.
# Usage: bench/dead_entries_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/${1:-build}"
for binary in "$build/stavox-mixer" "$build/bench/library_bench"; do
  [ -x "$binary" ] || { echo "build it first: $binary is missing" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/station"
"$build/bench/library_bench" --make-library "$work/station" "$work/root"
cd "$work/station"

# Nothing exists yet, so the check itself lists every path the lists name.
"$build/stavox-mixer" --dead-entries songs | cut -f2 | sort -u >"$work/paths" || true
tr '\n' '\0' <"$work/paths" | xargs -0 dirname -z | sort -zu | xargs -0 mkdir -p
awk 'NR % 2 == 1' "$work/paths" | tr '\n' '\0' | xargs -0 touch
printf '%d distinct paths, %d of them made\n' "$(wc -l <"$work/paths")" \
  "$(find "$work/root" -type f | wc -l)"

for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  code=0
  "$build/stavox-mixer" --dead-entries songs >"$work/report" || code=$?
  end=$(date +%s%N)
  printf 'run %s: %d ms, %d dead entries (%d unreachable), exit %d\n' "$run" \
    $(((end - start) / 1000000)) "$(wc -l <"$work/report")" \
    "$(grep -c $'\tunreachable$' "$work/report" || true)" "$code"
done
