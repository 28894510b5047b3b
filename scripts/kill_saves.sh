#!/usr/bin/env bash
# Kills the station's writers with SIGKILL at random moments while they save, N times per
# file (the test command does 20), and checks after every kill that each file is one whole
# version and reads back. The seed is printed; pass it again to repeat a run.
# ./scripts/kill_saves.sh [N] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
kills=${1:-500}
cmake --preset ci >/dev/null
cmake --build --preset ci -j2 --target test_app
export STAVOX_SAVE_KILLS=$kills QT_QPA_PLATFORM=offscreen
[ -n "${2:-}" ] && export STAVOX_SAVE_KILL_SEED=$2
exec build-ci/tests/test_app --gtest_filter='SaveKills.*'
