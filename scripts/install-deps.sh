#!/usr/bin/env bash
# Installs the Debian packages the station needs; only missing ones, with apt-get as root
# or through sudo.
#   scripts/install-deps.sh               to build and run the station
#   scripts/install-deps.sh --tests       also what the tests use (a private sound server and bus)
#   scripts/install-deps.sh --screenshot  also what the screenshot script uses
#   scripts/install-deps.sh --package     also what builds and checks the Debian package
#   scripts/install-deps.sh --bench       also the loudness tools the analysis is compared with
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-multimedia-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  mpv ffmpeg espeak-ng libtag1-dev libpulse-dev libsqlite3-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev libebur128-dev
  libshout3-dev libmp3lame-dev libvorbis-dev libsystemd-dev
  fonts-dejavu-core
)
# The package's own checks run among the tests too.
package_tools=(dpkg-dev lintian desktop-file-utils appstream)
case "${1:-}" in
  --tests)
    packages+=(pulseaudio-utils clang-format dbus-daemon "${package_tools[@]}")
    # The stalled-display test runs the window on an X server of its own.
    packages+=(xvfb)
    # The restart tests run the built station on a clock moved to a chosen moment.
    packages+=(faketime)
    # The stream tests feed a real Icecast server of their own.
    packages+=(icecast2)
    # The fuzz harnesses: clang with its libFuzzer and sanitizer runtimes.
    packages+=(clang libclang-rt-dev)
    # The on-air tests record a private pulseaudio server. Debian's PipeWire desktop
    # packages conflict with pulseaudio, and apt would remove the desktop's sound to make
    # room: there the on-air tests are skipped instead.
    if dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q "install ok installed"; then
      echo "PipeWire serves sound here; pulseaudio is not installed and the on-air tests are skipped." >&2
    else
      packages+=(pulseaudio)
    fi
    ;;
  --screenshot) packages+=(xvfb imagemagick python3) ;;
  --package) packages+=("${package_tools[@]}") ;;
  --bench) packages+=(bs1770gain loudgain) ;;
  "") ;;
  *) echo "usage: $0 [--tests | --screenshot | --package | --bench]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
# sudo drops the environment, so the setting goes on the command itself.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
