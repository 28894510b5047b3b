#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
# ./scripts/test.sh          the normal build
# ./scripts/test.sh --asan   the same tests under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --tests
preset=ci
[ "${1:-}" = "--asan" ] && preset=asan
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" --output-on-failure -j"$(nproc)"
