#!/usr/bin/env bash
# What streaming the air costs, as a share of one core, on the built station as it airs: real
# mpv decks play the demo station into the null output of a PulseAudio server of the
# benchmark's own, and the station runs SECONDS (30), after WARMUP (10) s, once without a
# stream and once with Stream1 (MP3, 128 kbit/s) to a private Icecast on 127.0.0.1; RUNS (3)
# times. Each run prints, with the stream:
#   stream     the stream's threads (encoding and sending, the titles);
#   capture    the air's capture at 44.1 kHz, the station's listener threads minus those of
#              the run without a stream (which has the meter's alone);
#   station    the station's whole process, minus the run without a stream;
#   server     the sound server's process (the second recording of the output's monitor,
#              resampled), minus the run without a stream;
#   pipeline   station + server: what the stream adds to the machine.
# The two runs play different music, and a crossfade in one (a second deck the server
# resamples) and not in the other moves the server's figure by about a percent either way.
# The demo station's music is analysed first, so that its levelling is not measured.
# Usage: bench/stream_pipeline_bench.sh [BUILD_DIR] [SECONDS] [RUNS] [WARMUP]
#        (default: build 30 3 10)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="$here/${1:-build}/stavox-mixer"
seconds="${2:-30}"
runs="${3:-3}"
warmup="${4:-10}"
[ -x "$binary" ] || { echo "build stavox-mixer first: $binary is missing" >&2; exit 1; }
for program in pulseaudio icecast2 mpv curl; do
  command -v "$program" >/dev/null || { echo "needs $program" >&2; exit 1; }
done

work="$(mktemp -d)"
iceroot="$(mktemp -d)"  # root's Icecast runs as nobody, who cannot enter the work folder
daemon= icecast= station=
cleanup() {
  for pid in $station $icecast $daemon; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  rm -rf "$work" "$iceroot"
}
trap cleanup EXIT
mkdir -p "$work/home/.config/Kelmar" "$work/home/run"
chmod 700 "$work/home/run"
"$here/scripts/make-demo-station.sh" "$work/station" >"$work/demo.log" 2>&1 ||
  { cat "$work/demo.log" >&2; exit 1; }
# Music alone: a spot break in one run and not the other would weigh more than the stream.
rm -f "$work/station"/spots1/[0-6]-*

XDG_RUNTIME_DIR="$work" HOME="$work" PULSE_SERVER= pulseaudio -n \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$work/native" \
  --load="module-null-sink sink_name=mix rate=48000" --load="module-null-sink sink_name=line" \
  --daemonize=no --exit-idle-time=-1 \
  --use-pid-file=no --log-target=stderr --log-level=error &
daemon=$!

# Icecast will not run as root; it then hands itself to nobody, who writes the logs.
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
owner=
if [ "$(id -u)" = 0 ]; then
  owner="<changeowner><user>nobody</user><group>nogroup</group></changeowner>"
  chmod 777 "$iceroot"
fi
cat >"$iceroot/icecast.xml" <<XML
<icecast><limits><sources>2</sources></limits>
<authentication><source-password>bench</source-password><admin-user>admin</admin-user>
<admin-password>bench</admin-password></authentication><hostname>127.0.0.1</hostname>
<listen-socket><port>$port</port><bind-address>127.0.0.1</bind-address></listen-socket>
<paths><basedir>/usr/share/icecast2</basedir><logdir>$iceroot</logdir>
<webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot></paths>
<logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>2</loglevel></logging>
<security><chroot>0</chroot>$owner</security></icecast>
XML
icecast2 -c "$iceroot/icecast.xml" >/dev/null 2>&1 &
icecast=$!
for _ in $(seq 50); do
  [ -S "$work/native" ] && curl -sf "http://127.0.0.1:$port/status-json.xsl" >/dev/null && break
  sleep 0.1
done
[ -S "$work/native" ] || { echo "pulseaudio did not come up" >&2; exit 1; }
curl -sf "http://127.0.0.1:$port/status-json.xsl" >/dev/null || { echo "icecast2 did not come up" >&2; exit 1; }
# The decks play to "mix", at 48 kHz as most sound cards run, so that the server resamples
# the stream's capture to 44.1 kHz as it would on air. The line input listens to the other
# output's monitor: with the air's monitor as the only input, its loopback would feed the
# air back into itself, and the output would render in steps of a few frames (every
# listener would wake thousands of times a second).
pactl -s "unix:$work/native" set-default-sink mix

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
  XDG_RUNTIME_DIR="$work/home/run" QT_QPA_PLATFORM=offscreen PULSE_SERVER="unix:$work/native"
cd "$work/station"
"$binary" --analyze music/*.mp3 >/dev/null

# The CPU time (ticks) of a process, or of those of its threads whose names match.
ticks() {
  local pid="$1" pattern="${2:-}"
  if [ -z "$pattern" ]; then
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$pid/stat"
  else
    for task in /proc/"$pid"/task/*; do
      grep -Eq "^($pattern)\$" "$task/comm" 2>/dev/null || continue
      awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "$task/stat"
    done | awk '{ sum += $1 } END { print sum + 0 }'
  fi
}

# Runs the station for the warm-up and then the measured seconds; its ticks, the stream's,
# the listeners' and the server's over the measured seconds, in `took`.
measure() {
  local streaming="$1"
  printf '[General]\nWaitSecInBeggining=1\nLineInSource=line.monitor\n[Stream1]\nEnabled=%s\nServer=127.0.0.1\nPort=%s\nMount=/air.mp3\nPassword=bench\nFormat=mp3\nBitrate=128\n' \
    "$streaming" "$port" >"$XDG_CONFIG_HOME/Kelmar/Stavox.conf"
  "$binary" --ao=pulse >"$work/as-run.log" 2>&1 &
  station=$!
  sleep "$warmup"
  if [ "$streaming" = 1 ] && ! grep -q $'stream\tconnected' "$work/as-run.log"; then
    echo "the stream did not connect:" >&2
    cat "$work/as-run.log" "$iceroot/error.log" >&2
    exit 1
  fi
  local before=("$(ticks $station)" "$(ticks $station 'stavox-stream|stavox-title')" \
    "$(ticks $station stavox-air)" "$(ticks $daemon)")
  sleep "$seconds"
  local after=("$(ticks $station)" "$(ticks $station 'stavox-stream|stavox-title')" \
    "$(ticks $station stavox-air)" "$(ticks $daemon)")
  kill "$station"
  wait "$station" || true
  station=
  took=()
  for i in 0 1 2 3; do took+=($((after[i] - before[i]))); done
}

hz="$(getconf CLK_TCK)"
echo "streaming one 128 kbit/s MP3, % of one core over $seconds s ($runs runs):"
printf '%-5s %8s %8s %8s %8s %9s\n' run stream capture station server pipeline
for run in $(seq "$runs"); do
  measure 0
  quiet=("${took[@]}")
  measure 1
  awk -v run="$run" -v s="$seconds" -v hz="$hz" -v st="${took[1]}" \
    -v air=$((took[2] - quiet[2])) -v proc=$((took[0] - quiet[0])) \
    -v server=$((took[3] - quiet[3])) 'BEGIN {
      pct = 100 / (s * hz)
      printf "%-5d %8.2f %8.2f %8.2f %8.2f %9.2f\n", run, st * pct, air * pct, proc * pct,
             server * pct, (proc + server) * pct
    }'
done
