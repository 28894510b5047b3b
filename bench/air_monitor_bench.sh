#!/usr/bin/env bash
# What listening to the air costs, as a share of one core: the meter's work per second of
# audio and its readings, then a real capture of SECONDS (30) from the null output of a
# PulseAudio server of the benchmark's own: the listener's thread and the server's process
# (which renders the null output, resamples to the listener's rate and sends it).
# Usage: bench/air_monitor_bench.sh [BUILD_DIR] [SECONDS]   (default: build 30)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="$here/${1:-build}/bench/air_meter_bench"
seconds="${2:-30}"
[ -x "$binary" ] || { echo "build air_meter_bench first: $binary is missing" >&2; exit 1; }
command -v pulseaudio >/dev/null || { echo "needs pulseaudio" >&2; exit 1; }

work="$(mktemp -d)"
daemon=
cleanup() {
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null && wait "$daemon" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
XDG_RUNTIME_DIR="$work" HOME="$work" PULSE_SERVER= pulseaudio -n \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$work/native" \
  --load="module-null-sink sink_name=mix" --daemonize=no --exit-idle-time=-1 \
  --use-pid-file=no --log-target=stderr --log-level=error &
daemon=$!
for _ in $(seq 50); do [ -S "$work/native" ] && break; sleep 0.1; done
[ -S "$work/native" ] || { echo "pulseaudio did not come up" >&2; exit 1; }

PULSE_SERVER="unix:$work/native" STAVOX_AIR_SERVER_PID="$daemon" STAVOX_AIR_SECONDS="$seconds" \
  "$binary" --benchmark_counters_tabular=true --benchmark_out="$work/out.json" --benchmark_out_format=json
python3 - "$work/out.json" <<'PY'
import json, sys
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if "x_real_time" in b:
        print(f"{b['name']}: {100 / b['x_real_time']:.5f} % of one core")
    for key in ("listener_pct_of_core", "server_pct_of_core"):
        if key in b:
            print(f"{b['name']} {key[:-12]}: {b[key]:.3f} % of one core over {b['heard_s']:.0f} s heard")
PY
