#!/usr/bin/env bash
# A simulated week of random operator actions under AddressSanitizer and UBSan:
#   scripts/sim_week.sh [SEED] [DAYS]
# Builds stavox-mixer and sim_week in the asan preset (build-asan/), copies a demo station
# (made once in build-asan/demo-station with scripts/make-demo-station.sh), and runs
# `--simulate` over DAYS days (7) with thousands of random actions of every verb. Prints the
# seed (random when left out), the actions per verb, the invariants checked, the violations
# and the sanitizer findings. Exit code 0 when clean, 1 on a finding, 2 on bad arguments,
# 3 when the build or the demo station fails (the tail of its output is shown).
set -euo pipefail

usage="Usage: $(basename "$0") [SEED] [DAYS]"
case "${1:-}" in -h | --help) echo "$usage"; exit 0 ;; esac
[ $# -le 2 ] || { echo "$usage" >&2; exit 2; }
seed="${1:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}"
days="${2:-7}"
[[ "$seed" =~ ^[0-9]+$ && "$days" =~ ^[1-9][0-9]*$ ]] || { echo "$usage" >&2; exit 2; }

root="$(cd -- "$(dirname -- "$0")/.." && pwd -P)"
build="$root/build-asan"
echo "seed: $seed (repeat with: scripts/sim_week.sh $seed $days)"

work="$(mktemp -d)"
trap 'rm -rf -- "$work"' EXIT

# Runs a step of the set-up quietly; when it fails, shows the end of what it said (ninja
# puts compile errors on standard output) and stops with 3.
setup() {
  if ! "$@" >"$work/setup.txt" 2>&1; then
    tail -n 40 -- "$work/setup.txt" >&2
    echo "failed: $*" >&2
    exit 3
  fi
}

# One batch of sources a compile: the sanitized build is otherwise slow on a small machine.
setup cmake --preset asan -S "$root" -DSTAVOX_UNITY_BUILD=ON -DSTAVOX_BUILD_TESTS=ON
setup cmake --build "$build" -j2 --target stavox-mixer sim_week

demo="$build/demo-station"
setup "$root/scripts/make-demo-station.sh" "$demo"
cp -a -- "$demo" "$work/station"
setup "$root/scripts/make-demo-station.sh" "$work/station"  # its lists follow the copy
mkdir "$work/run"

# Leaks are reported at exit; every finding stops the run with its report.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:${UBSAN_OPTIONS:-}"
start=$(date +%s)
status=0
"$build/tests/sim_week" "$build/stavox-mixer" "$work/station" "$work/run" "$seed" "$days" |
  tail -n +2 || status=$?
echo "time: $(($(date +%s) - start)) s"
if [ "$status" -ne 0 ]; then
  cp -- "$work/run/as-run.log" "$work/run/stderr.txt" "$work/run/actions.txt" "$build/" 2>/dev/null || true
  echo "the log, standard error and the actions are kept in $build/" >&2
  exit 1
fi
