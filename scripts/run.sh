#!/usr/bin/env bash
# Installs what is missing, builds, and starts the mixer.
# Arguments are passed to stavox-mixer.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
(
  cd "$here"
  ./scripts/install-deps.sh
  cmake --preset default >/dev/null
  cmake --build --preset default -j"$(nproc)" --target stavox-mixer
)
exec "$here/build/stavox-mixer" "$@"
