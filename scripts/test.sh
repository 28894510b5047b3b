#!/usr/bin/env bash
# Installs what is missing, checks the formatting of the C++ files this branch changed,
# builds with warnings as errors, and runs every test.
# ./scripts/test.sh          the normal build
# ./scripts/test.sh --asan   the same tests under AddressSanitizer and UBSan
# ./scripts/test.sh --tsan   the threaded tests (the core's, the window's, the on-air tests and
#                            a day of random operator actions) under ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --tests

# What the changes are measured against: the point where this branch left origin/main,
# else the commit before the last. A fresh clone of main, a shallow clone or a copy
# without git has nothing to compare with; then only uncommitted files, or none, count.
changed_cpp_files() {
  git rev-parse -q --verify HEAD >/dev/null 2>&1 || return 0
  local base
  base=$(git merge-base HEAD origin/main 2>/dev/null || true)
  if [ -z "$base" ] || [ "$base" = "$(git rev-parse HEAD)" ]; then
    base=$(git rev-parse -q --verify HEAD~1 2>/dev/null || git rev-parse HEAD)
  fi
  # Against the working tree, so uncommitted edits count too; new untracked files as well.
  git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h'
  git ls-files --others --exclude-standard -- '*.cpp' '*.h'
}

check_format() {
  local files unformatted=()
  mapfile -t files < <(changed_cpp_files | sort -u)
  for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
  done
  [ ${#unformatted[@]} -eq 0 ] && return 0
  echo "These files do not follow .clang-format:" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  echo "Fix them with: clang-format -i ${unformatted[*]}" >&2
  return 1
}
check_format

preset=ci
case "${1:-}" in
  --asan) preset=asan ;;
  --tsan)
    preset=tsan
    # Qt from Debian is not built with ThreadSanitizer: tests/tsan.supp silences what is
    # reported inside Qt's own libraries (and glib's, its event loop), never our code.
    # Some tests fork a child that starts threads of its own (die_after_fork=0 lets it).
    export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp die_after_fork=0 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
    ;;
esac
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" --output-on-failure -j"$(nproc)"
