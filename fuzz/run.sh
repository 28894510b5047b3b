#!/usr/bin/env bash
# Builds the fuzz harnesses with clang (into build-fuzz/) and runs each for SECONDS on its
# seed corpus in fuzz/corpus/<name>/, two at a time. New inputs go to build-fuzz/found/,
# never into the committed corpus; a finding is kept as build-fuzz/findings/<name>-*.
# Prints per harness the executions and findings; exits 1 on a finding, 77 without clang.
#   fuzz/run.sh SECONDS [NAME...]
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS [NAME...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
build=${STAVOX_FUZZ_BUILD:-$here/../build-fuzz}
jobs=2
# The harnesses write their input as a file each run: in memory where there is a tmpfs.
tmp_root=$build/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && tmp_root=$(mktemp -d /dev/shm/stavox-fuzz.XXXXXX)
trap 'rm -rf "$tmp_root"' EXIT

if ! command -v clang++ >/dev/null; then
  echo "clang++ is not installed (scripts/install-deps.sh --tests installs it): no fuzzing." >&2
  exit 77
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$jobs" >/dev/null

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for harness in "$here"/harnesses/*.cpp; do names+=("$(basename "$harness" .cpp)"); done
fi

run_one() {
  local name=$1 found=$build/found/$1 scratch=$tmp_root/$1
  rm -rf "$found" "$scratch" "$build/findings/$name"-*
  mkdir -p "$found" "$scratch" "$build/findings" "$build/logs"
  # Exit status is judged from the findings left, below. An input takes milliseconds; one
  # held up for a minute hangs, while 10 s was seen on a busy shared machine at nice 10.
  TMPDIR=$scratch nice "$build/fuzz_$name" -max_total_time="$seconds" -timeout=60 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$name-" \
    "$found" "$here/corpus/$name" >"$build/logs/$name.log" 2>&1 || true
  rm -rf "$scratch"
}

running=0
for name in "${names[@]}"; do
  [ -x "$build/fuzz_$name" ] || { echo "no harness $name" >&2; exit 2; }
  run_one "$name" &
  running=$((running + 1))
  if [ $running -ge $jobs ]; then wait -n; running=$((running - 1)); fi
done
wait

status=0
printf '%-18s %12s %9s\n' harness executions findings
for name in "${names[@]}"; do
  log=$build/logs/$name.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  findings=$(find "$build/findings" -name "$name-*" | wc -l)
  printf '%-18s %12s %9s\n' "$name" "${runs:-?}" "$findings"
  if [ "$findings" -gt 0 ] || [ -z "$runs" ]; then
    status=1
    echo "--- $name ($log):" >&2
    grep -m1 -A25 -E 'ERROR|runtime error|Sanitizer|deadly signal' "$log" >&2 || tail -25 "$log" >&2
  fi
done
exit $status
